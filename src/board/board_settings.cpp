#include "board/board_settings.h"

#include "net/ini_section.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <sstream>
#include <variant>

namespace board {

namespace {

using Member = std::variant<int BoardSettings::*, double BoardSettings::*>;

struct Field {
    std::string_view key;
    Member member;
    double min;
    double max;
};

constexpr std::array<Field, 15> kFields = {{
    {"max_in_flight", &BoardSettings::max_in_flight, 1, 16},
    {"pages_per_second", &BoardSettings::pages_per_second, 0.01, 50},
    {"jitter", &BoardSettings::jitter, 0, 0.9},
    {"retries", &BoardSettings::retries, 0, 10},
    {"backoff_s", &BoardSettings::backoff_s, 0, 600},
    {"failures_before_pause", &BoardSettings::failures_before_pause, 1, 100},
    {"pause_s", &BoardSettings::pause_s, 0, 3600},
    {"give_up_after", &BoardSettings::give_up_after, 1, 100},
    {"request_timeout_s", &BoardSettings::request_timeout_s, 1, 600},
    {"max_pause_s", &BoardSettings::max_pause_s, 0, 86400},
    {"max_retry_after_s", &BoardSettings::max_pause_s, 0, 86400},
    {"min_pages_per_second", &BoardSettings::min_pages_per_second, 0.001, 50},
    {"speed_up_after", &BoardSettings::speed_up_after, 1, 10000},
    {"pause_budget_s", &BoardSettings::pause_budget_s, 0, 604800},
    {"remember_pace_h", &BoardSettings::remember_pace_h, 0, 8760},
}};

std::optional<double> number(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool is_integer(const Field& field) {
    return std::holds_alternative<int BoardSettings::*>(field.member);
}

std::string shown(double value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string default_text(const Field& field) {
    static const BoardSettings defaults;
    if (is_integer(field))
        return std::to_string(defaults.*std::get<int BoardSettings::*>(field.member));
    return shown(defaults.*std::get<double BoardSettings::*>(field.member));
}

// Empty when the value was taken; otherwise why not.
std::string take(BoardSettings& settings, const Field& field, std::string_view text) {
    const auto value = number(text);
    const std::string range = shown(field.min) + ".." + shown(field.max);
    if (!value || (is_integer(field) && *value != std::floor(*value)))
        return "is not " + std::string(is_integer(field) ? "a whole number" : "a number");
    if (!(*value >= field.min && *value <= field.max))
        return "is out of range " + range;
    if (is_integer(field))
        settings.*std::get<int BoardSettings::*>(field.member) = static_cast<int>(*value);
    else
        settings.*std::get<double BoardSettings::*>(field.member) = *value;
    return {};
}

void apply(ParsedBoardSettings& parsed, int line, const std::string& key, std::string_view value) {
    const std::string where = "line " + std::to_string(line) + ": ";
    const auto field =
        std::find_if(kFields.begin(), kFields.end(), [&](const Field& f) { return f.key == key; });
    if (field == kFields.end()) {
        parsed.messages.push_back(where + "unknown key '" + key + "' ignored");
        return;
    }
    const std::string problem = take(parsed.settings, *field, value);
    if (!problem.empty()) {
        parsed.messages.push_back(where + key + " = " + std::string(value) + " " + problem +
                                  "; default " + default_text(*field) + " kept");
    }
}

}  // namespace

std::optional<BoardSettingLimits> board_setting_limits(std::string_view key) {
    const auto field =
        std::find_if(kFields.begin(), kFields.end(), [&](const Field& f) { return f.key == key; });
    if (field == kFields.end())
        return std::nullopt;
    return BoardSettingLimits{field->min, field->max, is_integer(*field)};
}

ParsedBoardSettings parse_board_settings(std::string_view ini_text) {
    ParsedBoardSettings parsed;
    for (const net::IniLine& line : net::ini_section(ini_text, "board")) {
        if (!line.has_equals)
            parsed.messages.push_back("line " + std::to_string(line.line) +
                                      ": no '=' in line; ignored");
        else
            apply(parsed, line.line, line.key, line.value);
    }
    return parsed;
}

}  // namespace board
