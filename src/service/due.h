#pragma once
// When a board's scheduled run is due, decided from what the history holds
// and the schedule's grid alone, so that any process looking at the same
// history (the window, `korvel-check --serve`, a cron job's `--run-due`)
// decides the same:
// - the slot is the last grid slot at or before now; it is due once its
//   start (the slot plus a jitter drawn from the board's name and the slot)
//   has come, unless the board has started since the slot (a run, or a
//   start that was skipped and recorded);
// - a machine that was off for many slots makes up for them with one run,
//   as long as it comes back within one interval of the window's last slot;
//   outside the board's hours a missed slot waits for the next one.
#include <optional>
#include <string_view>

#include "board/schedule.h"

namespace service {

// The start the board is waiting for at `now`: due when `at` <= now.
// `last_start` is the latest start the history knows of the board (or when
// it was first saved, for a board that never ran). Nothing for a board
// without a usable schedule.
std::optional<board::PlannedStart> planned_start(const board::Schedule& schedule,
                                                 std::string_view board_name,
                                                 std::optional<board::Time> last_start,
                                                 board::Time now, board::LocalZone zone);

}  // namespace service
