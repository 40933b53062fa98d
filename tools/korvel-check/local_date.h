#pragma once
// Dates on the command line: YYYY-MM-DD, meaning that day's local midnight.
#include <cstdint>
#include <optional>
#include <string_view>

namespace cli {

// Unix milliseconds of the date's first moment in the local time zone;
// nullopt unless the text is exactly YYYY-MM-DD and names a real day.
std::optional<std::int64_t> local_midnight_ms(std::string_view date);

}  // namespace cli
