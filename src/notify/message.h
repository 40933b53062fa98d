#pragma once
// What a notice channel carries. Every text is UTF-8.
//
// The board session fills a RunMessage from the run's history::Notice rows:
// the cell text ("辣条 · 销量") is the session's, the other fields are the
// notice's own.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace notify {

struct NoticeLine {
    std::string cell{};
    std::string before{};
    std::string after{};
    std::string kind{};  // as the history stores it ("rank_move", "checks_failing", ...)
    std::string message{};
    std::int64_t notice_id = 0;  // the history's notice; 0: made for the message alone
    // 补发: a notice of an earlier run that did not reach the channel then
    // (its run ended before sending, or the send failed).
    bool late = false;
    std::string goods_id{};  // the goods item the notice is about; empty for a whole run
};

// The run's headline counts for the own goods, over the cells it checked.
struct RunCounts {
    int rose = 0;
    int fell = 0;
    int top10 = 0;
    int failed = 0;  // cells failed or not checked
    bool operator==(const RunCounts&) const = default;
};

struct RunMessage {
    std::string board{};
    std::int64_t time_ms = 0;  // Unix time in milliseconds, UTC
    std::vector<NoticeLine> notices{};
    std::optional<RunCounts> counts{};  // none: the summary line is left out
};

// A message to send: a board run's notices, or a ready text (a daily report,
// a test message) whose first line serves as the e-mail subject.
using Content = std::variant<RunMessage, std::string>;

}  // namespace notify
