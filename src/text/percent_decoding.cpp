#include "text/percent_decoding.h"

namespace text {

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string percent_decoded(std::string_view encoded, bool plus_is_space) {
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && hex_value(encoded[i + 1]) >= 0 &&
            hex_value(encoded[i + 2]) >= 0) {
            out += static_cast<char>(hex_value(encoded[i + 1]) * 16 + hex_value(encoded[i + 2]));
            i += 2;
        } else {
            out += plus_is_space && encoded[i] == '+' ? ' ' : encoded[i];
        }
    }
    return out;
}

}  // namespace text
