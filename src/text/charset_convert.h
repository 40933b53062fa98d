#pragma once
// The one place that talks to the platform's converters: ICU
// (charset_convert_icu.cpp), or on Windows the system's own code pages
// (charset_convert_windows.cpp); CMake builds one of them. Converters are
// opened once per thread and kept; nothing here exposes their types.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text::charset {

enum class Charset { utf8, gbk, big5 };

// Appends `in` converted from one charset to another. Illegal input and
// characters without a form in the target come out as "?".
void convert_append(Charset from, Charset to, std::string_view in, std::string& out);

// Big5 to GBK up to (not including) the first character that has no GBK form.
std::string big5_to_gbk_prefix(std::string_view big5);

// Traditional Chinese characters of a GBK text replaced by simplified ones.
std::string simplify_gbk(std::string_view gbk);

// Per-character mappings between the Basic Multilingual Plane and GBK, read
// out of the converter once per process so that well-formed text converts
// without a call into it. A 0 entry means "ask the converter" (no mapping, or
// the table could not be read).
struct GbkTables {
    static constexpr int kTrails = 0xFF - 0x40;  // trail bytes 0x40..0xFE

    // By code point: the GBK code, one byte (< 0x100) or lead << 8 | trail.
    std::vector<std::uint16_t> from_unicode;
    // By (lead - 0x81) * kTrails + (trail - 0x40): the UTF-16 code unit.
    std::vector<std::uint16_t> to_unicode;
};
const GbkTables& gbk_tables();

}  // namespace text::charset
