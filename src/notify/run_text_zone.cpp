#include <ctime>

#include "notify/run_text.h"

namespace notify {

int local_utc_offset_minutes(std::int64_t unix_ms) {
    const std::time_t at = static_cast<std::time_t>(unix_ms / 1000);
    std::tm local{};
    std::tm utc{};
#if defined(_WIN32)
    localtime_s(&local, &at);
    gmtime_s(&utc, &at);
#else
    localtime_r(&at, &local);
    gmtime_r(&at, &utc);
#endif
    // Both broken-down times read as if they were UTC; their distance is the offset.
    utc.tm_isdst = local.tm_isdst;
    const double seconds = std::difftime(std::mktime(&local), std::mktime(&utc));
    return static_cast<int>(seconds / 60);
}

}  // namespace notify
