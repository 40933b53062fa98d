#include "net/response_parts.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdint>

#include "text/codepage.h"
#include "text/fields.h"
#include "text/primitives.h"

namespace net {

void HeaderBlock::add_line(std::string_view line) {
    if (line.starts_with("HTTP/")) {
        raw_.clear();
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    raw_.append(line).append("\r\n");
}

std::string HeaderBlock::text() const {
    return raw_.size() < kHeaderBufferSize ? raw_ : std::string();
}

std::string collect_cookies(std::string_view header_block) {
    static constexpr std::string_view kMarker = "Set-Cookie: ";
    std::string collected;
    if (text::find(header_block, kMarker, 1, true) < 1) {
        return collected;
    }
    for (std::string line : text::split(header_block, "\n")) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (text::find(line, kMarker, 1, true) < 1) {
            continue;
        }
        const std::string rest = line.substr(std::min(kMarker.size(), line.size()));
        collected += text::text_before(rest, ";");
        collected += ";";
    }
    return collected;
}

namespace {

// Longer than any wait a caller will take: what a Retry-After too long for
// an int reads as, so that a limit on waits refuses it instead of missing it.
constexpr int kLongestWait = 999'999'999;

// Seconds from `now` to an HTTP-date (any of the three forms HTTP allows;
// curl reads them all); -1 when the text is no date.
int seconds_until(const std::string& date, std::chrono::system_clock::time_point now) {
    const time_t at = curl_getdate(date.c_str(), nullptr);
    if (at == -1) {
        return -1;
    }
    // In whole seconds: a date centuries ahead overflows the clock's own ticks.
    const std::int64_t whole_now =
        std::chrono::floor<std::chrono::seconds>(now.time_since_epoch()).count();
    const std::int64_t seconds = static_cast<std::int64_t>(at) - whole_now;
    return static_cast<int>(std::clamp<std::int64_t>(seconds, 0, kLongestWait));
}

}  // namespace

int retry_after_seconds(std::string_view header_block, std::chrono::system_clock::time_point now) {
    static constexpr std::string_view kName = "retry-after:";
    for (std::string line : text::split(header_block, "\n")) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.size() < kName.size() || text::find(line, kName, 1, true) != 1) {
            continue;
        }
        const std::string value = text::trim(line.substr(kName.size()));
        if (value.empty()) {
            return -1;
        }
        if (value.find_first_not_of("0123456789") != std::string::npos) {
            return seconds_until(value, now);
        }
        // Leading zeros say nothing; beyond nine digits the wait is longer
        // than anyone will take.
        const std::size_t digits = value.find_first_not_of('0');
        if (digits == std::string::npos) {
            return 0;
        }
        if (value.size() - digits > 9) {
            return kLongestWait;
        }
        return std::stoi(value.substr(digits));
    }
    return -1;
}

std::string apply_conversion(std::string bytes, std::optional<int> kind) {
    switch (kind.value_or(0)) {
        case 1:
            return text::utf8_to_gbk(text::as_text(bytes));
        case 2:
            return text::big5_to_gbk_simplified(text::as_text(bytes));
        default:
            return bytes;
    }
}

}  // namespace net
