#include "net/percent_encode.h"

namespace net {

namespace {

bool is_letter_or_digit(unsigned char b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

bool kept_as_is(unsigned char b, KeptBytes kept) {
    if (is_letter_or_digit(b))
        return true;
    if (kept == KeptBytes::keyword)
        return b >= ',' && b <= '/';
    return b == '-' || b == '.' || b == '_' || b == '~';
}

}  // namespace

std::string percent_encode(std::string_view bytes, KeptBytes kept) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        if (kept_as_is(b, kept)) {
            out += static_cast<char>(b);
            continue;
        }
        // Always two digits: "%9" for a tab would swallow the next character
        // into the escape on the server's side.
        out += '%';
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
    }
    return out;
}

}  // namespace net
