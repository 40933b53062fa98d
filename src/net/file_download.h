#pragma once
// Downloading one file: libcurl writes it on a worker thread while the caller
// waits through event_pump(), so a window stays responsive meanwhile. The
// file is written beside the target as target + ".part" and renamed only when
// it has arrived whole, so a partial file never stays under the target name;
// when the wait is abandoned (the program is closing) the ".part" file is
// removed before download_file returns.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace net {

// Only http:// and https:// addresses (scheme in any letter case) with
// something after the scheme are fetched.
bool is_web_address(std::string_view address);

// Bytes received so far and the whole size as the server announced it (0 when
// unknown). Called on the worker thread, never after the download has been
// abandoned.
using DownloadProgress = std::function<void(std::int64_t received, std::int64_t total)>;

enum class DownloadOutcome {
    complete,   // the whole file is at the target
    failed,     // refused address, connection, HTTP status, write error: no file left
    abandoned,  // the program began closing during the wait: no file left
};

// Downloads `address` to `target`, replacing an earlier file there. Only http
// and https are spoken, on redirects too; no proxy is used. Does not return
// before the download has ended or been abandoned; events are dispatched
// meanwhile.
DownloadOutcome download_file(const std::string& address, const std::filesystem::path& target,
                              DownloadProgress on_progress = {});

}  // namespace net
