#pragma once
// The human-readable form of a message, as the chat robots and e-mail show it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "notify/message.h"

namespace notify {

// At most this many notice lines go into one message; the rest are counted.
inline constexpr int kMaxNoticeLines = 10;

// No limit on a message's length (e-mail, the JSON receiver).
inline constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

// "2024-05-01 16:30" for a Unix time in ms, shifted by the given offset from UTC.
std::string minute_text(std::int64_t unix_ms, int utc_offset_minutes);

// The local time zone's offset from UTC at that moment, in minutes.
int local_utc_offset_minutes(std::int64_t unix_ms);

// One line per notice: its message, or "cell：before → after" without one;
// "（补发）" before a notice of an earlier run.
std::string notice_line_text(const NoticeLine& line);

// What a seller should read first: a competitor that overtook the own goods,
// then entering or leaving the top N or the first 1000, then the own goods'
// moves (the largest first), then the rest; the order within each kept.
void order_by_importance(std::vector<NoticeLine>& lines);

// The title with the run's headline: "【Korvel】看板「我的看板」 2024-05-01
// 16:30 本店上升 3 · 下降 1 · 前10名 5 · 失败 0" (without counts: "，3 条变动").
std::string run_title(const RunMessage& run, int utc_offset_minutes);

// The title and the notice lines under it in the order given, at most
// kMaxNoticeLines of them and as many whole lines as fit in `max_bytes`; the
// rest folded into "另有 N 条，见看板窗口的变动通知或 korvel-check --history".
std::string run_text(const RunMessage& run, int utc_offset_minutes,
                     std::size_t max_bytes = kNoLimit);
// The same as markdown: a bold title and one list item per notice.
std::string run_markdown(const RunMessage& run, int utc_offset_minutes,
                         std::size_t max_bytes = kNoLimit);

// A text cut after its last whole line that fits in `max_bytes` with a
// closing "……另有 N 行未列出"; a single line too long is cut at a character.
std::string whole_lines(std::string_view text, std::size_t max_bytes);

// The e-mail subject: the title line of a run, or a text's first line.
std::string subject_of(const Content& content, int utc_offset_minutes);
std::string text_of(const Content& content, int utc_offset_minutes,
                    std::size_t max_bytes = kNoLimit);
std::string markdown_of(const Content& content, int utc_offset_minutes,
                        std::size_t max_bytes = kNoLimit);

}  // namespace notify
