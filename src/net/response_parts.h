#pragma once
// What both routines make of a response besides its body: the raw header
// block of the final response, the collected cookies, the conversion kind.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace net {

// The header buffer holds 2048 bytes with its terminating NUL; a block that
// does not fit is not read at all.
constexpr std::size_t kHeaderBufferSize = 2048;

// Collects the header lines libcurl reports, one call per line. Every status
// line starts a new response, so after redirects and interim answers only the
// final response's lines remain, each ending in CR LF, the blank line included.
class HeaderBlock {
  public:
    void add_line(std::string_view line);
    // The block, or empty when it is too long for the header buffer.
    std::string text() const;

  private:
    std::string raw_;
};

// For every line holding "Set-Cookie: " (letter case ignored): the line
// without its first 12 bytes up to its first ";" (nothing when it has none),
// followed by ";".
std::string collect_cookies(std::string_view header_block);

// The Retry-After of a header block in whole seconds: the delay form as it
// is, an HTTP-date as the seconds from `now` to it (rounded up, 0 when it
// has passed); -1 when absent or unreadable. A wait too long for an int
// (ten digits or more, a date decades away) reads as 999999999.
int retry_after_seconds(std::string_view header_block, std::chrono::system_clock::time_point now =
                                                           std::chrono::system_clock::now());

// Kind 1: UTF-8 to GBK; kind 2: Big5 to simplified GBK; both read the bytes up
// to the first NUL. Any other kind leaves the bytes as they are.
std::string apply_conversion(std::string bytes, std::optional<int> kind);

}  // namespace net
