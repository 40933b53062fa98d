#pragma once
// GBK text primitives.
//
// A text is a std::string (or view) of GBK bytes that ends at its first NUL;
// every function here reads its text arguments only up to the first NUL.
// Positions are 1-based byte offsets, "not found" is -1. Searches step over
// double-byte characters (a byte >= 0x80 is a lead byte followed by a trail
// byte), only ASCII letters have case, and a space is 0x20 or the pair A1 A1.
#include <string>
#include <string_view>
#include <vector>

namespace text {

// The bytes up to the first NUL, or all of them.
std::string_view as_text(std::string_view bytes);

inline bool is_lead_byte(unsigned char b) {
    return b >= 0x80;
}

int find(std::string_view text, std::string_view needle, int start = 1, bool ignore_case = false);
// Last occurrence; a start position > 0 limits the search to the bytes before it.
int find_last(std::string_view text, std::string_view needle, int start = 0,
              bool ignore_case = false);

// max_pieces < 0: no maximum.
std::vector<std::string> split(std::string_view text, std::string_view delimiter = ",",
                               int max_pieces = -1);

std::string left(std::string_view text, int n);
std::string right(std::string_view text, int n);
std::string middle(std::string_view text, int start, int count);

std::string trim(std::string_view text);
std::string trim_leading(std::string_view text);
std::string trim_trailing(std::string_view text);
std::string remove_spaces(std::string_view text);

std::string to_upper(std::string_view text);
std::string to_lower(std::string_view text);

// max_count < 0: replace every occurrence.
std::string replace_substring(std::string_view text, std::string_view needle,
                              std::string_view replacement = {}, int start = 1, int max_count = -1,
                              bool case_matters = true);
std::string replace_at(std::string_view text, int start, int length,
                       std::string_view replacement = {});

// 0 when equal; otherwise the sign of the first differing character.
int compare(std::string_view a, std::string_view b, bool case_matters = true);
int length(std::string_view text);
// The leading decimal number (full-width digits and signs count as ASCII), or 0.
double to_number(std::string_view text);

std::string blank(int n);
std::string decimal_text(long long value);
std::string hex_text(long long value);
// "真" or "假" in GBK.
std::string bool_text(bool value);

}  // namespace text
