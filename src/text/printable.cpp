#include "text/printable.h"

#include "text/utf8.h"

namespace text {

namespace {

void escape(std::string& out, const char* prefix, unsigned char byte) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    out += prefix;
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
}

}  // namespace

std::string printable(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const std::size_t length = utf8_sequence_length(utf8);
        const auto lead = static_cast<unsigned char>(utf8[0]);
        if (length == 0 || (length == 1 && (lead < 0x20 || lead == 0x7F))) {
            escape(out, "\\x", lead);
            utf8.remove_prefix(1);
            continue;
        }
        const auto second = length == 2 ? static_cast<unsigned char>(utf8[1]) : 0;
        if (lead == 0xC2 && second >= 0x80 && second <= 0x9F)
            escape(out, "\\u00", second);
        else
            out.append(utf8.substr(0, length));
        utf8.remove_prefix(length);
    }
    return out;
}

}  // namespace text
