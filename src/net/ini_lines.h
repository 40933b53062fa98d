#pragma once
// The lines of korvel.ini as its editors see them (ini_edit.h,
// ini_section_edit.h): where each line starts and ends in the file's text,
// whether it opens a section, and names compared the way the reader compares
// them. Internal to the editors; the reader is ini_section.h.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace net {

struct IniTextLine {
    std::size_t begin = 0;  // offset of the line in the text (after a byte-order mark)
    std::size_t end = 0;    // offset of its line end, CR excluded (or of the text's end)
    std::size_t next = 0;   // offset of the following line (or of the text's end)
};

std::vector<IniTextLine> ini_text_lines(std::string_view text);

// A line's content without surrounding blanks.
std::string_view ini_line_content(std::string_view text, const IniTextLine& line);

// The section a line opens (trimmed, as written), or nullopt when it opens
// none; a '[' without ']' opens the nameless section.
std::optional<std::string_view> ini_header_name(std::string_view content);

// A line of a section that the reader takes for a key (it has an '=' and is
// no comment).
bool is_ini_key_line(std::string_view content);

// Whether two section or key names are the same to the reader (ASCII letter
// case ignored).
bool same_ini_name(std::string_view a, std::string_view b);

// "\r\n" when the text has one, else "\n".
std::string_view ini_newline(std::string_view text);

}  // namespace net
