#pragma once
#include <cstdint>
#include <string>

namespace history {

// "2024-05-01T08:30:00.250Z": UTC, so an export reads the same on every
// machine and sorts as text.
std::string iso_utc(std::int64_t unix_ms);

}  // namespace history
