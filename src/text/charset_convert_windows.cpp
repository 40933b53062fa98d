// The converters on Windows: the system's own code pages 936 (GBK) and 950
// (Big5), the same tables ICU's windows-936 and windows-950 were taken from,
// and LCMapStringEx for traditional -> simplified. Same promises as the ICU
// build: illegal input and characters without a form in the target become
// "?", never a best-fit look-alike.
#if defined(_WIN32)
#include <windows.h>

#include <array>

#include "text/charset_convert.h"

namespace text::charset {
namespace {

constexpr std::array<UINT, 3> kCodePages = {CP_UTF8, 936, 950};

UINT code_page(Charset charset) {
    return kCodePages[static_cast<std::size_t>(charset)];
}

int length_of(std::size_t size) {
    return static_cast<int>(size);
}

// A byte that makes a pair with a lead byte, mapped or not (a pair without a
// character is one "?", as in ICU's tables for both code pages).
bool is_trail(unsigned char b) {
    return b >= 0x40 && b <= 0xFE && b != 0x7F;
}

// The UTF-16 of `in` when every byte of it is legal and mapped; nothing
// otherwise (the caller then goes character by character).
bool decode_strict(UINT cp, std::string_view in, std::u16string& out) {
    const int n =
        MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), length_of(in.size()), nullptr, 0);
    if (n <= 0) {
        return false;
    }
    const std::size_t base = out.size();
    out.resize(base + static_cast<std::size_t>(n));
    MultiByteToWideChar(cp, MB_ERR_INVALID_CHARS, in.data(), length_of(in.size()),
                        reinterpret_cast<wchar_t*>(out.data() + base), n);
    return true;
}

// A double-byte code page one character at a time, "?" for each illegal or
// unmapped one. A lead byte whose next byte cannot be a trail byte is illegal
// on its own and the next byte is read afresh (as ICU reads it).
void decode_dbcs_lenient(UINT cp, std::string_view in, std::u16string& out) {
    for (std::size_t i = 0; i < in.size();) {
        const auto b = static_cast<unsigned char>(in[i]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++i;
            continue;
        }
        std::size_t length = 1;
        if (IsDBCSLeadByteEx(cp, b)) {
            const bool paired =
                i + 1 < in.size() && is_trail(static_cast<unsigned char>(in[i + 1]));
            length = paired ? 2 : 0;
        }
        if (length == 0 || !decode_strict(cp, in.substr(i, length), out)) {
            out += u'?';
        }
        i += length == 0 ? 1 : length;
    }
}

std::u16string to_utf16(Charset from, std::string_view in) {
    std::u16string out;
    if (in.empty() || decode_strict(code_page(from), in, out)) {
        return out;
    }
    if (from != Charset::utf8) {
        decode_dbcs_lenient(code_page(from), in, out);
        return out;
    }
    // Ill-formed UTF-8: the system writes U+FFFD for each bad sequence, which
    // has no form in GBK or Big5 and becomes "?" there one step later.
    const int n = MultiByteToWideChar(CP_UTF8, 0, in.data(), length_of(in.size()), nullptr, 0);
    out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, in.data(), length_of(in.size()),
                            reinterpret_cast<wchar_t*>(out.data()), n);
    }
    return out;
}

bool is_high_surrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}

bool is_low_surrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Neither code page has a character beyond the Basic Multilingual Plane: each
// such character becomes one "?" (the system would write one per half).
std::u16string one_unit_per_character(std::u16string_view in) {
    std::u16string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        const bool pair =
            is_high_surrogate(in[i]) && i + 1 < in.size() && is_low_surrogate(in[i + 1]);
        out += pair ? u'?' : in[i];
        i += pair ? 1 : 0;
    }
    return out;
}

void append_from_utf16(Charset to, std::u16string_view text, std::string& out) {
    if (text.empty()) {
        return;
    }
    const std::u16string narrowed =
        to == Charset::utf8 ? std::u16string() : one_unit_per_character(text);
    const std::u16string_view in = to == Charset::utf8 ? text : std::u16string_view(narrowed);
    const UINT cp = code_page(to);
    // Best fit would turn an unmapped character into a look-alike ("é" into
    // "e"); without it, into the default character.
    const DWORD flags = to == Charset::utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* default_char = to == Charset::utf8 ? nullptr : "?";
    const auto* wide = reinterpret_cast<const wchar_t*>(in.data());
    const int n = WideCharToMultiByte(cp, flags, wide, length_of(in.size()), nullptr, 0,
                                      default_char, nullptr);
    if (n <= 0) {
        return;
    }
    const std::size_t base = out.size();
    out.resize(base + static_cast<std::size_t>(n));
    WideCharToMultiByte(cp, flags, wide, length_of(in.size()), out.data() + base, n, default_char,
                        nullptr);
}

// The GBK form of one UTF-16 unit through the strict encoder: one byte or
// lead << 8 | trail, 0 when it has none.
std::uint16_t gbk_code(char16_t u) {
    const auto wide = static_cast<wchar_t>(u);
    std::array<char, 4> bytes{};
    BOOL defaulted = FALSE;
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes.data(),
                                      static_cast<int>(bytes.size()), "?", &defaulted);
    if (defaulted || n < 1 || n > 2) {
        return 0;
    }
    const auto first = static_cast<unsigned char>(bytes[0]);
    return n == 1 ? first
                  : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
}

std::vector<std::uint16_t> read_from_unicode_table() {
    std::vector<std::uint16_t> table(0x10000, 0);
    for (char32_t cp = 0x80; cp <= 0xFFFF; ++cp) {
        if (cp < 0xD800 || cp > 0xDFFF) {
            table[cp] = gbk_code(static_cast<char16_t>(cp));
        }
    }
    return table;
}

std::vector<std::uint16_t> read_to_unicode_table() {
    std::vector<std::uint16_t> table(static_cast<std::size_t>(0xFE - 0x81 + 1) * GbkTables::kTrails,
                                     0);
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::array<char, 2> pair = {static_cast<char>(lead), static_cast<char>(trail)};
            std::array<wchar_t, 2> u{};
            const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, pair.data(), 2, u.data(),
                                              static_cast<int>(u.size()));
            const bool usable = n == 1 && u[0] >= 0x80 && (u[0] < 0xD800 || u[0] > 0xDFFF);
            table[static_cast<std::size_t>((lead - 0x81) * GbkTables::kTrails + (trail - 0x40))] =
                usable ? static_cast<std::uint16_t>(u[0]) : 0;
        }
    }
    return table;
}

}  // namespace

void convert_append(Charset from, Charset to, std::string_view in, std::string& out) {
    append_from_utf16(to, to_utf16(from, in), out);
}

const GbkTables& gbk_tables() {
    static const GbkTables tables{read_from_unicode_table(), read_to_unicode_table()};
    return tables;
}

std::string big5_to_gbk_prefix(std::string_view big5) {
    const std::vector<std::uint16_t>& table = gbk_tables().from_unicode;
    std::string out;
    for (const char16_t u : to_utf16(Charset::big5, big5)) {
        const std::uint16_t gbk = u < 0x80 ? u : table[u];
        if (gbk == 0) {
            break;
        }
        if (gbk > 0xFF) {
            out += static_cast<char>(gbk >> 8);
        }
        out += static_cast<char>(gbk & 0xFF);
    }
    return out;
}

std::string simplify_gbk(std::string_view gbk) {
    const std::u16string wide = to_utf16(Charset::gbk, gbk);
    if (wide.empty()) {
        return {};
    }
    const auto* source = reinterpret_cast<const wchar_t*>(wide.data());
    const int n = LCMapStringEx(L"zh-CN", LCMAP_SIMPLIFIED_CHINESE, source, length_of(wide.size()),
                                nullptr, 0, nullptr, nullptr, 0);
    if (n <= 0) {
        return std::string(gbk);
    }
    std::u16string simplified(static_cast<std::size_t>(n), u'\0');
    LCMapStringEx(L"zh-CN", LCMAP_SIMPLIFIED_CHINESE, source, length_of(wide.size()),
                  reinterpret_cast<wchar_t*>(simplified.data()), n, nullptr, nullptr, 0);
    std::string out;
    append_from_utf16(Charset::gbk, simplified, out);
    return out;
}

}  // namespace text::charset
#endif
