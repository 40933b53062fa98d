// Terminal columns from the system's character types: ideographs, full-width
// forms and (not half-width) kana take two columns, non-spacing marks none.
#if defined(_WIN32)
#include <windows.h>

#include <string>

#include "output_format.h"

namespace cli {

namespace {

int char_width(wchar_t c) {
    WORD type = 0;
    if (!GetStringTypeW(CT_CTYPE3, &c, 1, &type))
        return 1;
    if ((type & C3_NONSPACING) != 0)
        return 0;
    const bool kana = (type & (C3_HIRAGANA | C3_KATAKANA)) != 0 && (type & C3_HALFWIDTH) == 0;
    return (type & (C3_FULLWIDTH | C3_IDEOGRAPH)) != 0 || kana ? 2 : 1;
}

bool is_high_surrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

// Planes 2 and 3 hold ideographs only.
bool is_ideograph_plane(wchar_t high) {
    return high >= 0xD840 && high <= 0xD8BF;
}

}  // namespace

int display_width(std::string_view utf8) {
    if (utf8.empty())
        return 0;
    // A broken sequence comes out as one replacement character.
    const auto size = static_cast<int>(utf8.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), n);
    int width = 0;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (is_high_surrogate(wide[i]) && i + 1 < wide.size()) {
            width += is_ideograph_plane(wide[i]) ? 2 : 1;
            ++i;
        } else {
            width += char_width(wide[i]);
        }
    }
    return width;
}

}  // namespace cli
#endif
