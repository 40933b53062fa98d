#pragma once
// When a board re-checks itself: every N minutes inside a daily window of
// local clock time, on chosen weekdays, each start put off by a random
// 0..10 % of the interval so that many sellers' boards do not hit the
// marketplace on the same minute.
//
// Times are UTC instants (system_clock). The local day is given by a fixed
// offset from UTC that the caller passes (LocalZone), so every function here
// is pure and tests never touch the process's time zone. The offset is taken
// once per computation: across a daylight-saving switch the next start is off
// by the shift until it is computed again after the switch.
#include <bitset>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace board {

using Time = std::chrono::system_clock::time_point;

// Shortest interval the board accepts between two starts.
inline constexpr int kMinIntervalMinutes = 15;
inline constexpr int kMinutesPerDay = 24 * 60;

// Bit 0 is Monday, bit 6 is Sunday.
using Weekdays = std::bitset<7>;
inline constexpr Weekdays kEveryDay{0x7F};

struct LocalZone {
    std::chrono::minutes utc_offset{0};  // local time minus UTC, e.g. +480 for UTC+8

    // The process's own zone at `when`, from the operating system.
    static LocalZone system_at(Time when);
};

struct Schedule {
    bool enabled = true;
    int interval_minutes = 60;
    // Minutes after local midnight, 0..1439. A start is allowed when
    // from <= time < to. A `to` before `from` runs over midnight (the window
    // belongs to the weekday it opens on); `to` equal to `from` is the whole day.
    int from_minute = 0;
    int to_minute = 0;
    Weekdays weekdays = kEveryDay;

    bool operator==(const Schedule&) const = default;
};

// What is wrong with a schedule (UTF-8, fit to show), or nothing.
std::optional<std::string> schedule_problem(const Schedule& schedule);

// A start as planned: `slot` lies on the schedule's grid, `at` is the slot
// plus its jitter and is when the run really begins.
struct PlannedStart {
    Time slot;
    Time at;

    bool operator==(const PlannedStart&) const = default;
};

// The first grid slot at or after `after`: slots are the window's opening
// time plus whole intervals, inside an allowed window. Nothing for a
// disabled or invalid schedule.
std::optional<Time> next_slot(const Schedule& schedule, Time after, LocalZone zone);

// Uniform in [0, interval / 10], in whole milliseconds. The arithmetic is our
// own rather than a std distribution, so a seed gives the same jitter on
// every standard library.
std::chrono::milliseconds start_jitter(const Schedule& schedule, std::mt19937_64& rng);

// The next start at or after `after`, jittered.
std::optional<PlannedStart> next_start(const Schedule& schedule, Time after, LocalZone zone,
                                       std::mt19937_64& rng);

// The start after `previous`: its slot is strictly later than the previous
// slot, so a start without jitter is never planned twice.
std::optional<PlannedStart> following_start(const Schedule& schedule, const PlannedStart& previous,
                                            LocalZone zone, std::mt19937_64& rng);

// The last grid slot at or before `at`; nothing for a disabled or invalid
// schedule, or when no window has opened in the week before.
std::optional<Time> previous_slot(const Schedule& schedule, Time at, LocalZone zone);

// Uniform in [0, interval / 10] like start_jitter, but drawn from the board's
// name and the slot alone: every process that looks at the same board and
// slot puts the start at the same time, and different boards spread out.
std::chrono::milliseconds slot_jitter(const Schedule& schedule, std::string_view board, Time slot);

// What to do when a planned start comes due.
enum class DueAction {
    start,  // begin a run
    skip,   // the board's previous run is still going: record the start as skipped
    idle,   // the schedule is off or all work is paused: nothing runs, nothing is recorded
};

DueAction on_due(const Schedule& schedule, bool pause_all, bool previous_run_still_going);

// Why a start was skipped (UTF-8), for the record; empty for a start.
std::string_view due_reason(DueAction action);

}  // namespace board
