// When a scheduled board is due, from its last start and the schedule's grid.
#include <gtest/gtest.h>

#include <set>

#include "board/check_record.h"
#include "service/configuration.h"
#include "service/due.h"

namespace {

using namespace std::chrono;
using board::LocalZone;
using board::Schedule;
using board::Time;

constexpr LocalZone kBeijing{hours(8)};

// A local clock reading in Beijing. 2024-01-01 is a Monday.
Time local(int day_of_january, int hour, int minute) {
    return Time(sys_days{2024y / January / day_of_january} + hours(hour) + minutes(minute) -
                kBeijing.utc_offset);
}

Schedule hours_8_to_22(int interval) {
    return Schedule{true, interval, 8 * 60, 22 * 60, board::kEveryDay};
}

struct DueCase {
    const char* what;
    std::optional<Time> last_start;
    Time now;
    std::optional<Time> slot;  // the slot planned; none: nothing planned
    bool due;
};

TEST(PlannedStart, FollowsTheLastStartOnTheGrid) {
    const Schedule every_30 = hours_8_to_22(30);
    const DueCase cases[] = {
        {"never started: the last slot is due", std::nullopt, local(1, 10, 10), local(1, 10, 0),
         true},
        {"started in this slot: the next one", local(1, 10, 2), local(1, 10, 10), local(1, 10, 30),
         false},
        {"started before this slot: due", local(1, 9, 31), local(1, 10, 10), local(1, 10, 0), true},
        {"a machine off all morning catches up once", local(1, 8, 1), local(1, 13, 10),
         local(1, 13, 0), true},
        {"after the catch-up run: the next slot", local(1, 13, 10), local(1, 13, 12),
         local(1, 13, 30), false},
        {"missed slots outside the hours wait for the window", local(1, 8, 1), local(1, 23, 0),
         local(2, 8, 0), false},
        {"the window's last slot is still due until the interval ends", local(1, 21, 1),
         local(1, 21, 50), local(1, 21, 30), true},
    };
    for (const DueCase& c : cases) {
        const auto planned =
            service::planned_start(every_30, "看板", c.last_start, c.now, kBeijing);
        ASSERT_EQ(planned.has_value(), c.slot.has_value()) << c.what;
        EXPECT_EQ(planned->slot, *c.slot) << c.what;
        // The jitter never reaches 10 minutes on a 30-minute grid, so these
        // cases are due exactly when their slot has passed by 10 minutes.
        EXPECT_EQ(planned->at <= c.now, c.due) << c.what;
    }
}

// Two processes looking at the same board and slot agree; boards spread out.
TEST(SlotJitter, IsTheSameForTheSameBoardAndSlotAndStaysWithinATenth) {
    const Schedule every_60 = hours_8_to_22(60);
    std::set<milliseconds::rep> seen;
    for (int i = 0; i < 20; ++i) {
        const std::string name = "看板" + std::to_string(i);
        const milliseconds jitter = board::slot_jitter(every_60, name, local(1, 10, 0));
        EXPECT_EQ(jitter, board::slot_jitter(every_60, name, local(1, 10, 0)));
        EXPECT_GE(jitter, milliseconds(0));
        EXPECT_LE(jitter, minutes(6));
        seen.insert(jitter.count());
    }
    EXPECT_GT(seen.size(), 15u);
    EXPECT_NE(board::slot_jitter(every_60, "看板", local(1, 10, 0)),
              board::slot_jitter(every_60, "看板", local(1, 11, 0)));
}

// A lease read beside a due slot: another worker's run of this slot is left
// alone, a run of an earlier slot still going makes a skip, a run of this
// slot that died makes the slot due again.
TEST(LeaseVerdict, TellsWhoseSlotALeaseIs) {
    const Time slot = local(2, 10, 0);
    const std::int64_t at_slot = board::unix_ms(slot);
    const auto lease = [](std::int64_t started_ms, bool live) {
        return std::optional<history::BoardLease>({"甲/1/ab", started_ms, 0, 0, live});
    };
    using service::LeaseVerdict;
    EXPECT_EQ(service::lease_verdict(std::nullopt, slot), LeaseVerdict::none);
    EXPECT_EQ(service::lease_verdict(lease(at_slot + 5, true), slot),
              LeaseVerdict::running_since_slot);
    EXPECT_EQ(service::lease_verdict(lease(at_slot - 5, true), slot),
              LeaseVerdict::running_before_slot);
    EXPECT_EQ(service::lease_verdict(lease(at_slot, false), slot),
              LeaseVerdict::abandoned_since_slot);
    EXPECT_EQ(service::lease_verdict(lease(at_slot - 5, false), slot), LeaseVerdict::none);
    EXPECT_EQ(service::lease_verdict(history::BoardLease{"", at_slot + 5, 0, 0, false}, slot),
              LeaseVerdict::none)
        << "a lease let go is nobody's";
}

TEST(ServiceSettings, NameTheWorkerAndBoundTheLease) {
    std::vector<std::string> said;
    const auto read =
        service::parse_service_settings("[service]\nworker = 机房一号\nlease_s = 4\n", said);
    EXPECT_EQ(read.worker, "机房一号");
    EXPECT_EQ(read.lease_s, 4);
    EXPECT_TRUE(said.empty());
    const auto bad = service::parse_service_settings("[service]\nlease_s=0\ncolour=red\n", said);
    EXPECT_EQ(bad.lease_s, 120);
    EXPECT_FALSE(bad.worker.empty()) << "the computer's name by default";
    EXPECT_EQ(said.size(), 2u);
}

}  // namespace
