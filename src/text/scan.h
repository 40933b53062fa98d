#pragma once
// Byte-level search over GBK text, shared by the primitives and the line lists.
// Indexes here are 0-based; the public routines turn them into positions.
#include <cstddef>
#include <string_view>

namespace text::scan {

inline constexpr std::size_t npos = std::string_view::npos;

inline unsigned char fold(unsigned char b) {
    return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Index of the first occurrence of needle that starts on a character boundary,
// stepping characters from `origin` (taken as a boundary), or npos. An empty
// needle is found at `origin` when anything follows it.
std::size_t find_index(std::string_view text, std::string_view needle, std::size_t origin,
                       bool ignore_case);

// Byte length of the character that starts at index i (1, or 2 for a lead byte
// that has a byte after it).
inline std::size_t char_length(std::string_view text, std::size_t i) {
    return (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
}

}  // namespace text::scan
