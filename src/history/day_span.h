#pragma once
// How a span of time splits for a read of the per-day summary (records.h).
#include <cstdint>
#include <utility>

#include "history/records.h"

namespace history {

// The first whole day at or after since_ms and the day until_ms falls in:
// the days between are read from the summary, the rest from the checks.
// Equal when the span holds no whole day.
inline std::pair<std::int64_t, std::int64_t> whole_days(std::int64_t since_ms,
                                                        std::int64_t until_ms) {
    const std::int64_t first = since_ms / kDayMs + (since_ms % kDayMs > 0 ? 1 : 0);
    const std::int64_t end = until_ms / kDayMs;
    return first < end ? std::pair{first, end} : std::pair{end, end};
}

}  // namespace history
