#pragma once
// What korvel-check ends with, and how it reports a command line it cannot use.
#include <string>
#include <string_view>

namespace cli {

inline constexpr int kExitAllRead = 0;  // every check was read: found or not in the top 1000
inline constexpr int kExitNotices = 1;  // a board's run left change notices (all checks read)
// A check failed or was not checked (its reason is in the output), or the
// history, the board or its lock could not be used (a message on stderr).
inline constexpr int kExitSomeFailed = 2;
inline constexpr int kExitUsage = 64;  // the command line or a file it names cannot be used
// A run stopped by Ctrl+C (SIGINT) or SIGTERM: what it read is recorded and
// printed, the rest of the board is 未检查.
inline constexpr int kExitInterrupted = 130;
inline constexpr int kExitTerminated = 143;

inline constexpr std::string_view kProgramName = "korvel-check";

// "korvel-check: <problem>" and the help hint, one line each, for stderr.
std::string usage_message(std::string_view problem);

}  // namespace cli
