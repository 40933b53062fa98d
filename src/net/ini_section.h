#pragma once
// The one reader of korvel.ini's layout, for every section: "[section]"
// headers and "key = value" lines. A UTF-8 byte-order mark at the start is
// skipped; blank lines and lines starting with ';' or '#' are comments, and
// so is whatever follows a ';' or '#' that starts a value or follows a blank
// ("secret = SEC123   ; only when signed"). A value in quotes ("..." or
// '...') is taken as written between them, so a password may hold " ;".
// Each section's owner interprets its own lines; what the reader itself
// leaves out (lines outside any section, a broken header, text after a
// closing quote) it names in `problems`.
#include <string>
#include <string_view>
#include <vector>

namespace net {

struct IniLine {
    int line = 0;            // 1-based line number in the file
    std::string key;         // trimmed, ASCII lower case
    std::string value;       // without quotes and comment, trimmed
    bool has_equals = true;  // false: the line had no '=' (key holds the whole line)
};

struct IniSection {
    std::string name;  // as written between the brackets, trimmed
    int line = 0;      // of its header
    std::vector<IniLine> lines;
};

struct IniFile {
    std::vector<IniSection> sections;  // in file order; a name may come twice
    // "line 3: ..." for each line the reader could not place.
    std::vector<std::string> problems;
};

IniFile read_ini(std::string_view file_text);

// The lines of every section named `section` (any ASCII letter case), in file order.
std::vector<IniLine> ini_section(std::string_view file_text, std::string_view section);

// The text after '=' as the reader takes it: quotes removed, or a trailing
// comment cut off; trimmed. `problem` (when given) gets why part of the text
// was not taken, or stays empty.
std::string ini_value(std::string_view after_equals, std::string* problem = nullptr);

// `value` as it must be written after '=' so that ini_value() gives it back:
// in quotes when it starts or ends with a blank, starts with a quote, or holds
// a ';' or '#' the reader would take for a comment; as it is otherwise.
std::string ini_written_value(std::string_view value);

// Blanks (space, tab, CR, LF) off both ends.
std::string_view trim_blanks(std::string_view text);

// ASCII letters in lower case, other bytes as they are.
std::string lower_ascii(std::string_view text);

}  // namespace net
