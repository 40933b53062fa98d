#pragma once
// A schedule as a short line of text, stored with the board definition:
//   "30m 08:00-22:00 mon,tue,wed,thu,fri on"
// interval, window (from-to, local clock), weekdays, enabled ("on"/"off").
#include <optional>
#include <string>
#include <string_view>

#include "board/schedule.h"

namespace board {

// "08:05" for minute 485 of the day, and back; nullopt unless "HH:MM".
std::string clock_text(int minute);
std::optional<int> clock_minute(std::string_view text);

std::string schedule_to_text(const Schedule& schedule);

struct ParsedSchedule {
    std::optional<Schedule> schedule;
    std::string error;  // UTF-8, fit to show; empty when parsed
};

// Refuses malformed text and any schedule that schedule_problem refuses.
ParsedSchedule schedule_from_text(std::string_view text);

}  // namespace board
