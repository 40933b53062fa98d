#pragma once
// What a notice channel carries. Every text is UTF-8.
//
// The board session fills a RunMessage from the run's history::Notice rows:
// the cell text ("辣条 · 销量") is the session's, the other fields are the
// notice's own.
#include <cstdint>
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
};

struct RunMessage {
    std::string board{};
    std::int64_t time_ms = 0;  // Unix time in milliseconds, UTC
    std::vector<NoticeLine> notices{};
};

// A message to send: a board run's notices, or a ready text (a daily report,
// a test message) whose first line serves as the e-mail subject.
using Content = std::variant<RunMessage, std::string>;

}  // namespace notify
