#include "board/pace_memory.h"

#include <algorithm>
#include <cmath>

namespace board {

std::string pace_key(std::string_view host, std::string_view worker, bool shared_history) {
    if (!shared_history || worker.empty())
        return std::string(host);
    return std::string(host) + "|" + std::string(worker);
}

std::map<std::string, LearnedPace> learned_start_pace(const std::vector<StoredPace>& stored,
                                                      std::int64_t now_ms,
                                                      const BoardSettings& settings) {
    const double oldest_ms = settings.remember_pace_h * 3600.0 * 1000.0;
    const double top = top_pace(settings);
    std::map<std::string, LearnedPace> paces;
    std::map<std::string, std::int64_t> taken_at;
    for (const StoredPace& entry : stored) {
        const double age_ms = static_cast<double>(now_ms - entry.time_ms);
        if (!(age_ms >= 0 && age_ms <= oldest_ms) || !std::isfinite(entry.pace.pages_per_second))
            continue;
        const auto newer = taken_at.find(entry.host);
        if (newer != taken_at.end() && newer->second > entry.time_ms)
            continue;
        taken_at[entry.host] = entry.time_ms;
        LearnedPace pace = entry.pace;
        const double kept = std::clamp(pace.pages_per_second, floor_pace(settings), top);
        const double aged = oldest_ms > 0 ? age_ms / oldest_ms : 1;
        pace.pages_per_second = std::min(top, kept + (top - kept) * aged);
        paces[entry.host] = pace;
    }
    return paces;
}

}  // namespace board
