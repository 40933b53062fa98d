#include "board/schedule_text.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <vector>

namespace board {
namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"mon", "tue", "wed", "thu",
                                                       "fri", "sat", "sun"};

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    while (!text.empty()) {
        const auto end = text.find(separator);
        if (end != 0) {
            parts.push_back(text.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return parts;
}

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [rest, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || rest != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Weekdays> weekdays_from(std::string_view text) {
    Weekdays days;
    for (const auto name : split(text, ',')) {
        std::size_t i = 0;
        while (i < kDayNames.size() && kDayNames[i] != name) {
            ++i;
        }
        if (i == kDayNames.size()) {
            return std::nullopt;
        }
        days.set(i);
    }
    return days;
}

// The text itself stays out of the message: it may not be UTF-8.
ParsedSchedule refused() {
    return {std::nullopt, "定时设置无法识别"};
}

}  // namespace

std::string clock_text(int minute) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

std::optional<int> clock_minute(std::string_view text) {
    if (text.size() != 5 || text[2] != ':') {
        return std::nullopt;
    }
    const auto hours = number(text.substr(0, 2));
    const auto minutes = number(text.substr(3, 2));
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    return *hours * 60 + *minutes;
}

std::string schedule_to_text(const Schedule& schedule) {
    std::string text = std::to_string(schedule.interval_minutes) + "m " +
                       clock_text(schedule.from_minute) + "-" + clock_text(schedule.to_minute) +
                       " ";
    std::string days;
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (schedule.weekdays.test(i)) {
            days += (days.empty() ? "" : ",") + std::string(kDayNames[i]);
        }
    }
    return text + days + (schedule.enabled ? " on" : " off");
}

ParsedSchedule schedule_from_text(std::string_view text) {
    const auto words = split(text, ' ');
    if (words.size() != 4) {
        return refused();
    }
    Schedule schedule;
    const auto interval =
        words[0].ends_with('m') ? number(words[0].substr(0, words[0].size() - 1)) : std::nullopt;
    const auto window = split(words[1], '-');
    const auto from = window.size() == 2 ? clock_minute(window[0]) : std::nullopt;
    const auto to = window.size() == 2 ? clock_minute(window[1]) : std::nullopt;
    const auto days = weekdays_from(words[2]);
    if (!interval || !from || !to || !days || (words[3] != "on" && words[3] != "off")) {
        return refused();
    }
    schedule.interval_minutes = *interval;
    schedule.from_minute = *from;
    schedule.to_minute = *to;
    schedule.weekdays = *days;
    schedule.enabled = words[3] == "on";
    if (auto problem = schedule_problem(schedule)) {
        return {std::nullopt, *std::move(problem)};
    }
    return {schedule, {}};
}

}  // namespace board
