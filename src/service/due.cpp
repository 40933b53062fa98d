#include "service/due.h"

#include "board/check_record.h"

namespace service {

std::optional<board::PlannedStart> planned_start(const board::Schedule& schedule,
                                                 std::string_view board_name,
                                                 std::optional<board::Time> last_start,
                                                 board::Time now, board::LocalZone zone) {
    using std::chrono::milliseconds;
    const std::chrono::minutes interval(schedule.interval_minutes);
    if (const auto slot = board::previous_slot(schedule, now, zone);
        slot && (!last_start || *last_start < *slot) && now < *slot + interval)
        return board::PlannedStart{*slot, *slot + board::slot_jitter(schedule, board_name, *slot)};
    auto slot = board::next_slot(schedule, now + milliseconds(1), zone);
    // A start the history puts after now (another machine's clock) is not run again.
    for (int step = 0; slot && last_start && *last_start >= *slot && step < 1000; ++step)
        slot = board::next_slot(schedule, *slot + milliseconds(1), zone);
    if (!slot)
        return std::nullopt;
    return board::PlannedStart{*slot, *slot + board::slot_jitter(schedule, board_name, *slot)};
}

LeaseVerdict lease_verdict(const std::optional<history::BoardLease>& lease, board::Time slot) {
    if (!lease || lease->holder.empty())
        return LeaseVerdict::none;
    const bool since_slot = lease->started_ms >= board::unix_ms(slot);
    if (lease->live)
        return since_slot ? LeaseVerdict::running_since_slot : LeaseVerdict::running_before_slot;
    return since_slot ? LeaseVerdict::abandoned_since_slot : LeaseVerdict::none;
}

}  // namespace service
