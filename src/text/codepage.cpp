#include "text/codepage.h"

#include <cstdint>
#include <cstring>

#include "text/icu_convert.h"
#include "text/primitives.h"

namespace text {
namespace {

using icu::Charset;

bool is_ascii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// First index at or after i holding a byte >= 0x80, eight bytes at a time.
std::size_t ascii_run_end(std::string_view s, std::size_t i) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    while (i + 8 <= s.size()) {
        std::uint64_t word = 0;
        std::memcpy(&word, s.data() + i, 8);
        if ((word & kHighBits) != 0) {
            break;
        }
        i += 8;
    }
    while (i < s.size() && is_ascii(s[i])) {
        ++i;
    }
    return i;
}

// ASCII runs shorter than this stay inside the piece handed to ICU: a call
// into ICU costs more than converting a few ASCII bytes there.
constexpr std::size_t kShortestCopiedRun = 16;

// End of the piece that starts at high byte i: just after the first ASCII byte
// of the next long ASCII run. Right after an ASCII byte both UTF-8 and GBK
// decoding are at a character boundary, whatever came before (an ASCII byte is
// a character or a trail byte, and a decoder that finds it cannot be a trail
// byte reads it as a character), so splitting there changes nothing.
std::size_t piece_end(std::string_view s, std::size_t i) {
    for (std::size_t j = i;;) {
        while (j < s.size() && !is_ascii(s[j])) {
            ++j;
        }
        if (j == s.size()) {
            return j;
        }
        const std::size_t run_end = ascii_run_end(s, j);
        if (run_end - j > kShortestCopiedRun || run_end == s.size()) {
            return j + 1;
        }
        j = run_end;
    }
}

// ASCII is the same bytes in all three charsets, so long ASCII runs are copied
// and only the pieces between them go through ICU.
std::string convert(Charset from, Charset to, std::string_view in) {
    const std::string_view t = as_text(in);
    std::string out;
    out.reserve(t.size() + t.size() / 4);
    for (std::size_t i = 0; i < t.size();) {
        const std::size_t ascii_end = ascii_run_end(t, i);
        out.append(t.substr(i, ascii_end - i));
        if (ascii_end == t.size()) {
            break;
        }
        const std::size_t end = piece_end(t, ascii_end);
        icu::convert_append(from, to, t.substr(ascii_end, end - ascii_end), out);
        i = end;
    }
    return out;
}

// Value of one percent-escape digit: its index in "0123456789ABCDEF" after
// upper-casing, -2 for any other byte, 0 when the text has ended.
int escape_digit(std::string_view t, std::size_t i) {
    if (i >= t.size()) {
        return 0;
    }
    static constexpr std::string_view kDigits = "0123456789ABCDEF";
    char c = t[i];
    if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - ('a' - 'A'));
    }
    const std::size_t value = kDigits.find(c);
    return value == std::string_view::npos ? -2 : static_cast<int>(value);
}

std::string percent_decode(std::string_view t) {
    std::string bytes;
    bytes.reserve(t.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '%') {
            bytes += t[i];
            continue;
        }
        const int value = 16 * escape_digit(t, i + 1) + escape_digit(t, i + 2);
        const auto decoded = static_cast<char>(static_cast<unsigned>(value) & 0xFFU);
        if (decoded != '\0') {
            bytes += decoded;
        }
        i += 2;
    }
    return bytes;
}

}  // namespace

std::string utf8_to_gbk(std::string_view utf8) {
    return convert(Charset::utf8, Charset::gbk, utf8);
}

std::string gbk_to_utf8(std::string_view gbk) {
    return convert(Charset::gbk, Charset::utf8, gbk);
}

std::string big5_to_gbk_simplified(std::string_view big5) {
    return icu::simplify_gbk(icu::big5_to_gbk_prefix(as_text(big5)));
}

std::string url_decode_to_gbk(std::string_view text) {
    return utf8_to_gbk(percent_decode(as_text(text)));
}

}  // namespace text
