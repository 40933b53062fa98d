#include "board/schedule.h"

#include <algorithm>
#include <cstdint>

namespace board {
namespace {

using std::chrono::days;
using std::chrono::milliseconds;
using std::chrono::minutes;
using LocalMs = std::chrono::sys_time<milliseconds>;  // a local clock reading, not an instant

int weekday_bit(std::chrono::sys_days day) {
    return static_cast<int>(std::chrono::weekday(day).iso_encoding()) - 1;
}

milliseconds interval_of(const Schedule& schedule) {
    return minutes(schedule.interval_minutes);
}

// The first grid slot of one day's window at or after `local`, if the window
// has one left.
std::optional<LocalMs> slot_in_window(const Schedule& schedule, std::chrono::sys_days day,
                                      LocalMs local) {
    const LocalMs open = day + minutes(schedule.from_minute);
    const bool overnight = schedule.to_minute <= schedule.from_minute;
    const LocalMs close = day + minutes(schedule.to_minute) + (overnight ? days(1) : days(0));
    LocalMs slot = open;
    if (open < local) {
        const milliseconds interval = interval_of(schedule);
        const auto steps = (local - open + interval - milliseconds(1)) / interval;  // rounded up
        slot = open + steps * interval;
    }
    if (slot >= close) {
        return std::nullopt;
    }
    return slot;
}

// The last grid slot of one day's window at or before `local`, once the
// window has opened.
std::optional<LocalMs> last_slot_in_window(const Schedule& schedule, std::chrono::sys_days day,
                                           LocalMs local) {
    const LocalMs open = day + minutes(schedule.from_minute);
    if (local < open) {
        return std::nullopt;
    }
    const bool overnight = schedule.to_minute <= schedule.from_minute;
    const LocalMs close = day + minutes(schedule.to_minute) + (overnight ? days(1) : days(0));
    const LocalMs last = std::min(local, close - milliseconds(1));
    const milliseconds interval = interval_of(schedule);
    return open + ((last - open) / interval) * interval;
}

// FNV-1a over the bytes, then a mixing step so that neighbouring slots land
// far apart; our own arithmetic, the same on every platform.
std::uint64_t mixed_hash(std::string_view text, std::int64_t number) {
    std::uint64_t h = 0xcbf29ce484222325ULL;
    auto add = [&h](unsigned char byte) {
        h ^= byte;
        h *= 0x100000001b3ULL;
    };
    for (const char c : text) {
        add(static_cast<unsigned char>(c));
    }
    for (int shift = 0; shift < 64; shift += 8) {
        add(static_cast<unsigned char>((static_cast<std::uint64_t>(number) >> shift) & 0xFF));
    }
    h ^= h >> 30;
    h *= 0xbf58476d1ce4e5b9ULL;
    h ^= h >> 27;
    h *= 0x94d049bb133111ebULL;
    return h ^ (h >> 31);
}

}  // namespace

std::optional<std::string> schedule_problem(const Schedule& schedule) {
    if (schedule.interval_minutes < kMinIntervalMinutes) {
        return "间隔不能少于" + std::to_string(kMinIntervalMinutes) + "分钟";
    }
    if (schedule.interval_minutes > kMinutesPerDay) {
        return "间隔不能超过" + std::to_string(kMinutesPerDay) + "分钟";
    }
    for (const int minute : {schedule.from_minute, schedule.to_minute}) {
        if (minute < 0 || minute >= kMinutesPerDay) {
            return "时间须在00:00到23:59之间";
        }
    }
    if (schedule.weekdays.none()) {
        return "请至少选择一天";
    }
    return std::nullopt;
}

std::optional<Time> next_slot(const Schedule& schedule, Time after, LocalZone zone) {
    if (!schedule.enabled || schedule_problem(schedule)) {
        return std::nullopt;
    }
    const LocalMs local = std::chrono::ceil<milliseconds>(after) + zone.utc_offset;
    const auto today = std::chrono::floor<days>(local);
    // Yesterday's window may run over midnight into today. Windows of
    // successive days never overlap, so the first slot found is the earliest;
    // a week ahead always holds a chosen weekday.
    for (int offset = -1; offset <= 7; ++offset) {
        const auto day = today + days(offset);
        if (!schedule.weekdays.test(static_cast<std::size_t>(weekday_bit(day)))) {
            continue;
        }
        if (const auto slot = slot_in_window(schedule, day, local)) {
            return Time(*slot - zone.utc_offset);
        }
    }
    return std::nullopt;
}

milliseconds start_jitter(const Schedule& schedule, std::mt19937_64& rng) {
    const auto most = static_cast<std::uint64_t>(interval_of(schedule).count() / 10);
    return milliseconds(static_cast<milliseconds::rep>(rng() % (most + 1)));
}

std::optional<PlannedStart> next_start(const Schedule& schedule, Time after, LocalZone zone,
                                       std::mt19937_64& rng) {
    const auto slot = next_slot(schedule, after, zone);
    if (!slot) {
        return std::nullopt;
    }
    return PlannedStart{*slot, *slot + start_jitter(schedule, rng)};
}

std::optional<PlannedStart> following_start(const Schedule& schedule, const PlannedStart& previous,
                                            LocalZone zone, std::mt19937_64& rng) {
    return next_start(schedule, previous.slot + milliseconds(1), zone, rng);
}

std::optional<Time> previous_slot(const Schedule& schedule, Time at, LocalZone zone) {
    if (!schedule.enabled || schedule_problem(schedule)) {
        return std::nullopt;
    }
    const LocalMs local = std::chrono::floor<milliseconds>(at) + zone.utc_offset;
    const auto today = std::chrono::floor<days>(local);
    // Today's window opens after yesterday's has closed, so the first slot
    // found going back is the latest.
    for (int offset = 0; offset >= -8; --offset) {
        const auto day = today + days(offset);
        if (!schedule.weekdays.test(static_cast<std::size_t>(weekday_bit(day)))) {
            continue;
        }
        if (const auto slot = last_slot_in_window(schedule, day, local)) {
            return Time(*slot - zone.utc_offset);
        }
    }
    return std::nullopt;
}

milliseconds slot_jitter(const Schedule& schedule, std::string_view board, Time slot) {
    const auto most = static_cast<std::uint64_t>(interval_of(schedule).count() / 10);
    const auto slot_ms = std::chrono::floor<milliseconds>(slot.time_since_epoch()).count();
    return milliseconds(static_cast<milliseconds::rep>(mixed_hash(board, slot_ms) % (most + 1)));
}

DueAction on_due(const Schedule& schedule, bool pause_all, bool previous_run_still_going) {
    if (!schedule.enabled || pause_all) {
        return DueAction::idle;
    }
    return previous_run_still_going ? DueAction::skip : DueAction::start;
}

std::string_view due_reason(DueAction action) {
    switch (action) {
        case DueAction::start:
            return {};
        case DueAction::skip:
            return "上一轮检查仍在进行，本次跳过";
        case DueAction::idle:
            return "定时检查已暂停";
    }
    return {};
}

}  // namespace board
