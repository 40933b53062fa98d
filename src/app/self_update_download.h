#pragma once
// The self-update download: libcurl on a worker thread writes the new program
// file while the window's thread waits through net::event_pump() and moves the
// progress bar (0 to 1000) with the progress the worker posts to it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class QProgressBar;

namespace app {

// Bar position for `progress` of `maximum` (both as the signed 32-bit values
// the download reports): progress × 1000 ÷ maximum in double, truncated
// toward zero. No position when the maximum is 0 (size unknown).
std::optional<int> progress_position(std::int32_t progress, std::int32_t maximum);

// Only http:// and https:// addresses (scheme in any letter case) are fetched.
bool is_web_address(std::string_view address);

// Downloads `address` to `target` and returns true when the whole file is
// there. `bar`, when given, is set to 0..1000 and follows the progress. Does
// not return before the download has ended; events are dispatched meanwhile.
// A partial file never stays behind under the target name.
bool download_with_progress(const std::string& address, const std::filesystem::path& target,
                            QProgressBar* bar);

}  // namespace app
