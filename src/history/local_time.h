#pragma once
#include <cstdint>
#include <string>

namespace history {

// "2026-12-09 14:48:03 +08:00": the time in the system's local zone, as the
// window shows it, with the zone's offset from UTC at that instant, so a
// reader elsewhere still knows the instant.
std::string local_time_with_offset(std::int64_t unix_ms);

}  // namespace history
