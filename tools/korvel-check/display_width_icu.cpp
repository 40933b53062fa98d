// Terminal columns from ICU's character properties (the Windows build asks the
// system instead, display_width_windows.cpp).
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

#include "output_format.h"

namespace cli {

namespace {

int char_width(UChar32 c) {
    const auto category = static_cast<UCharCategory>(u_charType(c));
    if (category == U_NON_SPACING_MARK || category == U_ENCLOSING_MARK || category == U_FORMAT_CHAR)
        return 0;
    const auto width =
        static_cast<UEastAsianWidth>(u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH));
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

}  // namespace

int display_width(std::string_view utf8) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    int width = 0;
    for (std::int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        // A broken sequence shows as one replacement character.
        width += c < 0 ? 1 : char_width(c);
    }
    return width;
}

}  // namespace cli
