// Terminal columns without ICU. The system's character types cannot say which
// characters are wide (they leave Hangul, kana extensions and the CJK radicals
// narrow) and call precomposed letters such as é non-spacing, so width comes
// from the East Asian wide blocks below, and only marks that are no letter
// and format characters take none.
#if defined(_WIN32)
#include <windows.h>

#include <string>

#include "output_format.h"

namespace cli {

namespace {

struct Block {
    char32_t first;
    char32_t last;
};

// The blocks whose characters are East Asian wide or full-width.
constexpr Block kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x18CFF},
    {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F}, {0x1F680, 0x1F6FF},
    {0x1F7E0, 0x1F7EB}, {0x1F90C, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
};

bool is_wide(char32_t c) {
    for (const Block& b : kWide) {
        if (c < b.first)
            return false;
        if (c <= b.last)
            return true;
    }
    return false;
}

// A combining mark that is no letter itself, or a format character (soft
// hyphen, zero-width space and joiners, byte-order mark); the C0 and C1
// controls are not format characters.
bool takes_no_column(wchar_t c) {
    WORD type1 = 0;
    WORD type3 = 0;
    if (!GetStringTypeW(CT_CTYPE1, &c, 1, &type1) || !GetStringTypeW(CT_CTYPE3, &c, 1, &type3))
        return false;
    if ((type3 & C3_NONSPACING) != 0 && (type3 & C3_ALPHA) == 0)
        return true;
    return (type1 & C1_CNTRL) != 0 && c >= 0xA0;
}

int char_width(char32_t c) {
    if (c <= 0xFFFF && takes_no_column(static_cast<wchar_t>(c)))
        return 0;
    return is_wide(c) ? 2 : 1;
}

bool is_high_surrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool is_low_surrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
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
        char32_t c = static_cast<char32_t>(wide[i]);
        if (is_high_surrogate(wide[i]) && i + 1 < wide.size() && is_low_surrogate(wide[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(wide[i + 1]) - 0xDC00);
            ++i;
        }
        width += char_width(c);
    }
    return width;
}

}  // namespace cli
#endif
