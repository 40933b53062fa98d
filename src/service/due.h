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
#include "history/records.h"

namespace service {

// The start the board is waiting for at `now`: due when `at` <= now.
// `last_start` is the latest start the history knows of the board (or when
// it was first saved, for a board that never ran). Nothing for a board
// without a usable schedule.
std::optional<board::PlannedStart> planned_start(const board::Schedule& schedule,
                                                 std::string_view board_name,
                                                 std::optional<board::Time> last_start,
                                                 board::Time now, board::LocalZone zone);

// What a board's lease on a shared history says of its due slot.
enum class LeaseVerdict {
    none,                  // nobody holds it (or the history is a file)
    running_since_slot,    // another worker runs this slot: not due here, and no skip
    running_before_slot,   // its previous run still goes: this slot is skipped
    abandoned_since_slot,  // a run of this slot died: due again, for what it left
};

LeaseVerdict lease_verdict(const std::optional<history::BoardLease>& lease, board::Time slot);

}  // namespace service
