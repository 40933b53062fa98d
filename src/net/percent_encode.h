#pragma once
// The one percent-encoder for every remote address. Bytes outside the kept
// set become "%" and two upper-case hexadecimal digits.
#include <string>
#include <string_view>

namespace net {

enum class KeptBytes {
    // Search keywords: ",", "-", ".", "/", digits and ASCII letters stay as
    // they are; the marketplace reads the query that way.
    keyword,
    // One path segment (an id): digits, ASCII letters and "-._~" only, so a
    // strange id can neither break the request line nor reach another path.
    path_segment,
};

std::string percent_encode(std::string_view bytes, KeptBytes kept);

}  // namespace net
