#pragma once
// The one reader of korvel.ini's layout: "[section]" headers and
// "key = value" lines; blank lines and lines starting with ';' or '#' are
// comments. Each section's owner interprets its own lines.
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct IniLine {
    int line = 0;            // 1-based line number in the file
    std::string key;         // trimmed, ASCII lower case
    std::string value;       // trimmed
    bool has_equals = true;  // false: the line had no '=' (key holds the whole line)
};

// The lines of `section` (any letter case), in file order. A byte-order mark
// at the start is skipped.
std::vector<IniLine> ini_section(std::string_view file_text, std::string_view section);

// Blanks (space, tab, CR, LF) off both ends.
std::string_view trim_blanks(std::string_view text);

}  // namespace net
