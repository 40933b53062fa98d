#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "board/schedule.h"
#include "board/schedule_text.h"

namespace {

using namespace std::chrono;
using board::DueAction;
using board::LocalZone;
using board::Schedule;
using board::Time;

constexpr LocalZone kBeijing{hours(8)};
constexpr board::Weekdays kWorkdays{0x1F};
constexpr board::Weekdays kFridayOnly{0x10};

// A local clock reading in `zone`. 2024-01-01 is a Monday.
Time local(int day_of_january, int hour, int minute, LocalZone zone = kBeijing) {
    return Time(sys_days{2024y / January / day_of_january} + hours(hour) + minutes(minute) -
                zone.utc_offset);
}

Schedule schedule(int interval, int from, int to, board::Weekdays days = board::kEveryDay) {
    Schedule s;
    s.interval_minutes = interval;
    s.from_minute = from;
    s.to_minute = to;
    s.weekdays = days;
    return s;
}

struct SlotCase {
    const char* what;
    Schedule schedule;
    Time after;
    Time expected;
};

TEST(Schedule, NextSlotLiesOnTheWindowsGridInsideAnAllowedWindow) {
    const SlotCase cases[] = {
        {"whole day, between slots", schedule(60, 0, 0), local(1, 10, 20), local(1, 11, 0)},
        {"exactly on a slot", schedule(60, 0, 0), local(1, 10, 0), local(1, 10, 0)},
        {"grid counts from the window's opening", schedule(45, 8 * 60, 22 * 60), local(1, 9, 0),
         local(1, 9, 30)},
        {"before the window opens", schedule(60, 8 * 60, 22 * 60), local(1, 6, 0), local(1, 8, 0)},
        {"the closing time itself is outside", schedule(60, 8 * 60, 22 * 60), local(1, 21, 50),
         local(2, 8, 0)},
        {"weekend skipped", schedule(60, 8 * 60, 22 * 60, kWorkdays), local(5, 22, 30),
         local(8, 8, 0)},
        {"over midnight, after midnight", schedule(60, 22 * 60, 2 * 60), local(2, 0, 30),
         local(2, 1, 0)},
        {"over midnight, closing time", schedule(60, 22 * 60, 2 * 60), local(2, 1, 10),
         local(2, 22, 0)},
        {"over midnight window belongs to its opening day",
         schedule(60, 22 * 60, 2 * 60, kFridayOnly), local(6, 0, 30), local(6, 1, 0)},
        {"yesterday's window not chosen", schedule(60, 22 * 60, 2 * 60, kFridayOnly),
         local(5, 0, 30), local(5, 22, 0)},
        {"interval not dividing an overnight window", schedule(50, 23 * 60, 60), local(2, 0, 41),
         local(2, 23, 0)},
        {"whole day from 06:00 closes at the next 06:00", schedule(90, 6 * 60, 6 * 60),
         local(2, 5, 0), local(2, 6, 0)},
        {"last whole-day slot before the next opening", schedule(90, 6 * 60, 6 * 60),
         local(2, 4, 0), local(2, 4, 30)},
        {"a nanosecond late is the next slot", schedule(60, 0, 0), local(1, 10, 0) + nanoseconds(1),
         local(1, 11, 0)},
        {"window in UTC+8 read as an instant", schedule(60, 8 * 60, 9 * 60),
         Time(sys_days{2024y / January / 1}), Time(sys_days{2024y / January / 1})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(board::next_slot(c.schedule, c.after, kBeijing), c.expected) << c.what;
    }
}

TEST(Schedule, DisabledOrInvalidSchedulesHaveNoSlot) {
    auto off = schedule(60, 0, 0);
    off.enabled = false;
    const Schedule refused[] = {off, schedule(14, 0, 0), schedule(60, 0, 0, board::Weekdays{}),
                                schedule(60, -1, 0), schedule(60, 0, 24 * 60)};
    for (const auto& s : refused) {
        EXPECT_FALSE(board::next_slot(s, local(1, 10, 0), kBeijing)) << board::schedule_to_text(s);
    }
}

TEST(Schedule, JitterStaysWithinATenthOfTheIntervalAndSpreadsOverIt) {
    for (const int interval : {15, 60, 24 * 60}) {
        const auto s = schedule(interval, 0, 0);
        const milliseconds most = milliseconds(minutes(interval)) / 10;
        std::mt19937_64 rng(interval);
        milliseconds low = most;
        milliseconds high{0};
        for (int i = 0; i < 2000; ++i) {
            const auto jitter = board::start_jitter(s, rng);
            ASSERT_GE(jitter, milliseconds(0));
            ASSERT_LE(jitter, most);
            low = std::min(low, jitter);
            high = std::max(high, jitter);
        }
        EXPECT_LT(low, most / 10) << interval;
        EXPECT_GT(high, most * 9 / 10) << interval;
    }
}

TEST(Schedule, AWeekOfStartsFollowsTheWindowsAndTheJitterBound) {
    const auto s = schedule(60, 8 * 60, 22 * 60, kWorkdays);
    std::mt19937_64 rng(1);
    auto start = board::next_start(s, local(1, 0, 0), kBeijing, rng);
    std::vector<board::PlannedStart> starts;
    while (start && start->slot < local(8, 0, 0)) {
        starts.push_back(*start);
        start = board::following_start(s, *start, kBeijing, rng);
    }
    ASSERT_EQ(starts.size(), 5u * 14u);  // 08:00 .. 21:00 on five days
    EXPECT_EQ(starts.front().slot, local(1, 8, 0));
    EXPECT_EQ(starts.back().slot, local(5, 21, 0));
    for (const auto& planned : starts) {
        EXPECT_GE(planned.at, planned.slot);
        EXPECT_LE(planned.at, planned.slot + minutes(6));
    }
}

TEST(Schedule, AStartWithoutJitterIsNotPlannedTwice) {
    const auto s = schedule(15, 0, 0);
    std::mt19937_64 rng(3);
    const board::PlannedStart previous{local(1, 10, 0), local(1, 10, 0)};
    const auto next = board::following_start(s, previous, kBeijing, rng);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->slot, local(1, 10, 15));
}

TEST(Schedule, DueStartsRunSkipOrIdle) {
    auto off = schedule(60, 0, 0);
    off.enabled = false;
    const auto on = schedule(60, 0, 0);
    EXPECT_EQ(board::on_due(on, false, false), DueAction::start);
    EXPECT_EQ(board::on_due(on, false, true), DueAction::skip);
    EXPECT_EQ(board::on_due(on, true, false), DueAction::idle);
    EXPECT_EQ(board::on_due(off, false, false), DueAction::idle);
    EXPECT_FALSE(board::due_reason(DueAction::skip).empty());
}

TEST(Schedule, ARunLongerThanTheIntervalSkipsEveryOtherStart) {
    const auto s = schedule(60, 8 * 60, 14 * 60);
    std::mt19937_64 rng(5);
    Time run_ends{};
    std::vector<DueAction> actions;
    for (auto start = board::next_start(s, local(1, 0, 0), kBeijing, rng);
         start && start->slot < local(2, 0, 0);
         start = board::following_start(s, *start, kBeijing, rng)) {
        const auto action = board::on_due(s, false, start->at < run_ends);
        if (action == DueAction::start) {
            run_ends = start->at + minutes(90);
        }
        actions.push_back(action);
    }
    const std::vector<DueAction> expected = {DueAction::start, DueAction::skip,  DueAction::start,
                                             DueAction::skip,  DueAction::start, DueAction::skip};
    EXPECT_EQ(actions, expected);
}

TEST(ScheduleText, RoundTripsEverySetting) {
    auto off = schedule(15, 23 * 60 + 59, 0, kFridayOnly);
    off.enabled = false;
    const Schedule cases[] = {schedule(60, 0, 0), schedule(45, 8 * 60 + 5, 22 * 60, kWorkdays),
                              schedule(24 * 60, 22 * 60, 2 * 60, board::Weekdays{0x41}), off};
    for (const auto& s : cases) {
        const auto text = board::schedule_to_text(s);
        const auto parsed = board::schedule_from_text(text);
        ASSERT_TRUE(parsed.schedule) << text << ": " << parsed.error;
        EXPECT_EQ(*parsed.schedule, s) << text;
    }
    EXPECT_EQ(board::schedule_to_text(schedule(30, 8 * 60, 22 * 60, kWorkdays)),
              "30m 08:00-22:00 mon,tue,wed,thu,fri on");
}

TEST(ScheduleText, RefusesMalformedTextAndShortIntervals) {
    const char* cases[] = {"",
                           "60 08:00-22:00 mon on",
                           "60m 8:00-22:00 mon on",
                           "60m 08:00-24:00 mon on",
                           "60m 08:60-22:00 mon on",
                           "60m 08:00 mon on",
                           "60m 08:00-22:00 mon,xyz on",
                           "60m 08:00-22:00 mon maybe",
                           "60m 08:00-22:00 mon",
                           "60m 08:00-22:00 mon on extra",
                           "60m 08:00-22:00 , on",
                           "10m 08:00-22:00 mon on",
                           "-60m 08:00-22:00 mon on"};
    for (const char* text : cases) {
        const auto parsed = board::schedule_from_text(text);
        EXPECT_FALSE(parsed.schedule) << text;
        EXPECT_FALSE(parsed.error.empty()) << text;
    }
}

}  // namespace
