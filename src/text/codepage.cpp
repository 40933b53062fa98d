#include "text/codepage.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "text/charset_convert.h"
#include "text/primitives.h"

namespace text {
namespace {

using charset::Charset;

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

// Just after the first ASCII byte at or after i, or the end. Right after an
// ASCII byte both UTF-8 and GBK decoding are at a character boundary whatever
// came before (an ASCII byte is a character or a trail byte, and a decoder that
// finds it cannot be a trail byte reads it as a character), so the converter may convert
// the piece up to there on its own and give what it gives on the whole text.
std::size_t after_next_ascii(std::string_view s, std::size_t i) {
    while (i < s.size() && !is_ascii(s[i])) {
        ++i;
    }
    return i < s.size() ? i + 1 : i;
}

// Output collected through a small staging area, so that single bytes cost
// no capacity check each. Only reserved, never pre-filled: filling a megabyte
// of fresh memory costs more than converting it.
class Output {
  public:
    explicit Output(std::size_t expected) { text_.reserve(expected); }

    void put(char c) {
        if (staged_ == staging_.size()) {
            flush();
        }
        staging_[staged_++] = c;
    }
    void put(std::string_view bytes) {
        flush();
        text_.append(bytes);
    }
    std::string take() && {
        flush();
        return std::move(text_);
    }

  private:
    void flush() {
        text_.append(staging_.data(), staged_);
        staged_ = 0;
    }

    std::string text_;
    std::array<char, 256> staging_{};
    std::size_t staged_ = 0;
};

// Hands the piece starting at a character the converter must see (ill-formed input, or
// no table entry) to the converter, up to the next point where splitting is safe.
std::size_t convert_piece(Charset from, Charset to, std::string_view t, std::size_t i,
                          Output& out) {
    const std::size_t end = after_next_ascii(t, i);
    std::string piece;
    charset::convert_append(from, to, t.substr(i, end - i), piece);
    out.put(piece);
    return end;
}

struct Utf8Char {
    char32_t code_point = 0;
    std::size_t length = 0;  // 0: not a well-formed two- or three-byte sequence
};

bool is_continuation(unsigned char b) {
    return (b & 0xC0U) == 0x80U;
}

Utf8Char decode_utf8(std::string_view t, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(t[i + k]); };
    const unsigned char b0 = byte(0);
    if (b0 >= 0xC2 && b0 <= 0xDF && i + 1 < t.size() && is_continuation(byte(1))) {
        return {static_cast<char32_t>((b0 & 0x1FU) << 6 | (byte(1) & 0x3FU)), 2};
    }
    if (b0 < 0xE0 || b0 > 0xEF || i + 2 >= t.size()) {
        return {};
    }
    // Second byte limits: no overlong forms (E0) and no surrogates (ED).
    const unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80;
    const unsigned char high = b0 == 0xED ? 0x9F : 0xBF;
    if (byte(1) < low || byte(1) > high || !is_continuation(byte(2))) {
        return {};
    }
    return {static_cast<char32_t>((b0 & 0x0FU) << 12 | (byte(1) & 0x3FU) << 6 | (byte(2) & 0x3FU)),
            3};
}

void put_utf8(Output& out, char16_t u) {
    if (u < 0x800) {
        out.put(static_cast<char>(0xC0 | (u >> 6)));
    } else {
        out.put(static_cast<char>(0xE0 | (u >> 12)));
        out.put(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    }
    out.put(static_cast<char>(0x80 | (u & 0x3F)));
}

void copy_ascii_run(std::string_view t, std::size_t& i, Output& out) {
    const std::size_t end = ascii_run_end(t, i);
    out.put(t.substr(i, end - i));
    i = end;
}

// Table lookups for well-formed characters, the converter for the rest.
std::string utf8_to_gbk_text(std::string_view t) {
    const std::vector<std::uint16_t>& table = charset::gbk_tables().from_unicode;
    Output out(t.size());
    for (std::size_t i = 0; i < t.size();) {
        copy_ascii_run(t, i, out);
        while (i < t.size() && !is_ascii(t[i])) {
            const Utf8Char c = decode_utf8(t, i);
            const std::uint16_t gbk = c.length > 0 && !table.empty() ? table[c.code_point] : 0;
            if (gbk == 0) {
                i = convert_piece(Charset::utf8, Charset::gbk, t, i, out);
                break;
            }
            if (gbk > 0xFF) {
                out.put(static_cast<char>(gbk >> 8));
            }
            out.put(static_cast<char>(gbk & 0xFF));
            i += c.length;
        }
    }
    return std::move(out).take();
}

// Table lookups for well-formed pairs, the converter for the rest.
std::string gbk_to_utf8_text(std::string_view t) {
    const std::vector<std::uint16_t>& table = charset::gbk_tables().to_unicode;
    Output out(t.size() + t.size() / 2);
    for (std::size_t i = 0; i < t.size();) {
        copy_ascii_run(t, i, out);
        while (i < t.size() && !is_ascii(t[i])) {
            const auto lead = static_cast<unsigned char>(t[i]);
            const auto trail = i + 1 < t.size() ? static_cast<unsigned char>(t[i + 1]) : 0;
            const bool pair = lead >= 0x81 && lead <= 0xFE && trail >= 0x40 && trail <= 0xFE;
            const std::uint16_t u =
                pair && !table.empty()
                    ? table[static_cast<std::size_t>((lead - 0x81) * charset::GbkTables::kTrails +
                                                     (trail - 0x40))]
                    : 0;
            if (u == 0) {
                i = convert_piece(Charset::gbk, Charset::utf8, t, i, out);
                break;
            }
            put_utf8(out, u);
            i += 2;
        }
    }
    return std::move(out).take();
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
    return utf8_to_gbk_text(as_text(utf8));
}

std::string gbk_to_utf8(std::string_view gbk) {
    return gbk_to_utf8_text(as_text(gbk));
}

std::string big5_to_gbk_simplified(std::string_view big5) {
    return charset::simplify_gbk(charset::big5_to_gbk_prefix(as_text(big5)));
}

std::string url_decode_to_gbk(std::string_view text) {
    return utf8_to_gbk(percent_decode(as_text(text)));
}

}  // namespace text
