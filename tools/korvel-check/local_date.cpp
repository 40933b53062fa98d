#include "local_date.h"

#include <algorithm>
#include <charconv>
#include <ctime>

namespace cli {

namespace {

std::optional<int> number(std::string_view digits) {
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

}  // namespace

std::optional<std::int64_t> local_midnight_ms(std::string_view date) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-')
        return std::nullopt;
    const auto year = number(date.substr(0, 4));
    const auto month = number(date.substr(5, 2));
    const auto day = number(date.substr(8, 2));
    if (!year || !month || !day)
        return std::nullopt;
    std::tm wanted{};
    wanted.tm_year = *year - 1900;
    wanted.tm_mon = *month - 1;
    wanted.tm_mday = *day;
    wanted.tm_isdst = -1;  // whatever daylight saving time says for that day
    std::tm normalised = wanted;
    const std::time_t seconds = std::mktime(&normalised);
    // mktime rolls 02-30 over into March: a day that moved was no real day.
    if (seconds == static_cast<std::time_t>(-1) || normalised.tm_year != wanted.tm_year ||
        normalised.tm_mon != wanted.tm_mon || normalised.tm_mday != wanted.tm_mday)
        return std::nullopt;
    return static_cast<std::int64_t>(seconds) * 1000;
}

}  // namespace cli
