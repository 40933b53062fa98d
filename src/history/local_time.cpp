#include "history/local_time.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace history {
namespace {

// Seconds from the epoch that a broken-down time names when read as UTC.
std::int64_t as_utc_seconds(const std::tm& t) {
    using namespace std::chrono;
    const year_month_day date{year{t.tm_year + 1900}, month{static_cast<unsigned>(t.tm_mon + 1)},
                              day{static_cast<unsigned>(t.tm_mday)}};
    return sys_days{date}.time_since_epoch().count() * std::int64_t{86400} + t.tm_hour * 3600 +
           t.tm_min * 60 + t.tm_sec;
}

// The UTC reading, for an instant the platform has no local reading of (the
// Windows runtime has none before 1970): shown with its offset, +00:00.
std::tm utc_reading(std::int64_t whole) {
    using namespace std::chrono;
    const sys_seconds at{seconds{whole}};
    const sys_days day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss time{at - day};
    std::tm t{};
    t.tm_year = static_cast<int>(date.year()) - 1900;
    t.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    t.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    t.tm_hour = static_cast<int>(time.hours().count());
    t.tm_min = static_cast<int>(time.minutes().count());
    t.tm_sec = static_cast<int>(time.seconds().count());
    return t;
}

}  // namespace

std::string local_time_with_offset(std::int64_t unix_ms) {
    // Floor, so an instant before the epoch keeps its second.
    const std::int64_t whole = unix_ms / 1000 - (unix_ms % 1000 < 0 ? 1 : 0);
    const auto seconds = static_cast<std::time_t>(whole);
    std::tm local{};
#if defined(_WIN32)
    const bool read = localtime_s(&local, &seconds) == 0;
#else
    const bool read = localtime_r(&seconds, &local) != nullptr;
#endif
    if (!read)
        local = utc_reading(whole);
    // The local reading taken as UTC differs from the instant by the offset.
    const std::int64_t offset_minutes = (as_utc_seconds(local) - whole) / 60;
    const std::int64_t size = offset_minutes < 0 ? -offset_minutes : offset_minutes;
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset_minutes < 0 ? '-' : '+',
                  static_cast<int>(size / 60), static_cast<int>(size % 60));
    return text;
}

}  // namespace history
