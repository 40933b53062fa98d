#include "board/pace_memory.h"

#include <algorithm>
#include <cmath>

#include "board/pace.h"

namespace board {

std::map<std::string, double> learned_start_pace(const std::vector<StoredPace>& stored,
                                                 std::int64_t now_ms,
                                                 const BoardSettings& settings) {
    const double oldest_ms = settings.remember_pace_h * 3600.0 * 1000.0;
    std::map<std::string, double> paces;
    std::map<std::string, std::int64_t> taken_at;
    for (const StoredPace& entry : stored) {
        const double age_ms = static_cast<double>(now_ms - entry.time_ms);
        if (!(age_ms >= 0 && age_ms <= oldest_ms) || !std::isfinite(entry.pages_per_second))
            continue;
        const auto newer = taken_at.find(entry.host);
        if (newer != taken_at.end() && newer->second > entry.time_ms)
            continue;
        taken_at[entry.host] = entry.time_ms;
        paces[entry.host] =
            std::clamp(entry.pages_per_second, floor_pace(settings), top_pace(settings));
    }
    return paces;
}

}  // namespace board
