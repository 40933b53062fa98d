#pragma once
// The pace a run starts from: the one each host ended the last run with,
// while it is fresh. A marketplace that slowed the last run down will most
// likely still want that pace, and starting there saves the push-backs of
// finding it again; but what it wanted an hour ago it may no longer want,
// so a kept pace drifts back toward pages_per_second as it ages.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_settings.h"
#include "board/pace.h"

namespace board {

// One host's pace as the history keeps it.
struct StoredPace {
    std::string host;  // "name[:port]"
    LearnedPace pace;
    std::int64_t time_ms = 0;  // when the run that ended with it ended, ms since the epoch
};

// The key a host's pace is kept under in the history: the host itself for a
// file, so that files kept before keep their pace; on a history that several
// workers share, "host|worker", since each worker reaches the marketplace
// from its own address and meets a limit of its own.
std::string pace_key(std::string_view host, std::string_view worker, bool shared_history);

// Host -> the pace to start from, for the hosts whose stored pace is at
// most remember_pace_h hours old (and not from the future): its pages a
// second moved toward pages_per_second by the share of remember_pace_h that
// has passed, clamped into [min_pages_per_second, pages_per_second]. Of
// several entries of a host the newest counts.
std::map<std::string, LearnedPace> learned_start_pace(const std::vector<StoredPace>& stored,
                                                      std::int64_t now_ms,
                                                      const BoardSettings& settings);

}  // namespace board
