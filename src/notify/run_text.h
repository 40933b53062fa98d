#pragma once
// The human-readable form of a message, as the chat robots and e-mail show it.
#include <cstdint>
#include <string>

#include "notify/message.h"

namespace notify {

// At most this many notice lines go into one message; the rest are counted.
inline constexpr int kMaxNoticeLines = 10;

// "2024-05-01 16:30" for a Unix time in ms, shifted by the given offset from UTC.
std::string minute_text(std::int64_t unix_ms, int utc_offset_minutes);

// The local time zone's offset from UTC at that moment, in minutes.
int local_utc_offset_minutes(std::int64_t unix_ms);

// One line per notice: its message, or "cell：before → after" without one.
std::string notice_line_text(const NoticeLine& line);

// "【Korvel】看板「我的看板」 2024-05-01 16:30，3 条变动" and the notice lines
// under it, the eleventh and later folded into "另有 N 条".
std::string run_text(const RunMessage& run, int utc_offset_minutes);
// The same as markdown: a bold title and one list item per notice.
std::string run_markdown(const RunMessage& run, int utc_offset_minutes);

// The e-mail subject: the title line of a run, or a text's first line.
std::string subject_of(const Content& content, int utc_offset_minutes);
std::string text_of(const Content& content, int utc_offset_minutes);
std::string markdown_of(const Content& content, int utc_offset_minutes);

}  // namespace notify
