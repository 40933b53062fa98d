#pragma once
// The self-update download with its progress bar: net::download_file fetches
// the new program file on a worker thread, and this part moves the bar (0 to
// 1000) on the window's thread with the progress the worker posts to it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class QProgressBar;

namespace app {

// Bar position for `progress` of `maximum` (both as the signed 32-bit values
// the download reports): progress × 1000 ÷ maximum in double, truncated
// toward zero. No position when the maximum is 0 (size unknown).
std::optional<int> progress_position(std::int32_t progress, std::int32_t maximum);

// Downloads `address` (http or https only) to `target` and returns true when
// the whole file is there. `bar`, when given, is set to 0..1000 and follows
// the progress. Does not return before the download has ended; events are
// dispatched meanwhile. A partial file never stays behind, neither under the
// target name nor as the ".part" file of an abandoned download.
bool download_with_progress(const std::string& address, const std::filesystem::path& target,
                            QProgressBar* bar);

}  // namespace app
