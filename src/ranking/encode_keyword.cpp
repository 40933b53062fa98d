#include "ranking/encode_keyword.h"

#include "text/codepage.h"

namespace ranking {

namespace {

bool kept_as_is(unsigned char b) {
    return (b >= 44 && b <= 57) || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

void append_escape(std::string& out, unsigned char b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += '%';
    if (b >= 0x10)
        out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
}

}  // namespace

std::string encode_keyword(std::string_view gbk_keyword) {
    const std::string utf8 = text::gbk_to_utf8(gbk_keyword);
    std::string out;
    out.reserve(utf8.size() * 3);
    for (unsigned char b : utf8) {
        if (kept_as_is(b)) {
            out += static_cast<char>(b);
        } else {
            append_escape(out, b);
        }
    }
    return out;
}

}  // namespace ranking
