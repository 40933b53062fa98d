#include "net/ini_edit.h"

#include <optional>
#include <vector>

#include "net/ini_lines.h"
#include "net/ini_section.h"

namespace net {

namespace {

// Where the value of a "key = value" line starts and ends inside the line:
// after the blanks following '=', before blanks and a comment that follow it.
std::pair<std::size_t, std::size_t> value_span(std::string_view line, bool trailing_comments) {
    std::size_t start = line.find('=') + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    std::size_t end = line.size();
    for (std::size_t i = start; trailing_comments && i < line.size(); ++i) {
        if ((line[i] == ';' || line[i] == '#') && i > start &&
            (line[i - 1] == ' ' || line[i - 1] == '\t')) {
            end = i;
            break;
        }
    }
    while (end > start && (line[end - 1] == ' ' || line[end - 1] == '\t'))
        --end;
    return {start, end};
}

struct Found {
    std::optional<IniTextLine> key_line;      // the last line of the key in the section
    std::optional<IniTextLine> section_tail;  // the section's last key line, or its header
};

Found find(std::string_view text, std::string_view section, std::string_view key) {
    Found found;
    bool inside = false;
    for (const IniTextLine& line : ini_text_lines(text)) {
        const std::string_view content = ini_line_content(text, line);
        if (const auto name = ini_header_name(content)) {
            inside = same_ini_name(*name, section);
            if (inside)
                found.section_tail = line;
            continue;
        }
        if (!inside || !is_ini_key_line(content))
            continue;
        found.section_tail = line;
        if (same_ini_name(trim_blanks(content.substr(0, content.find('='))), key))
            found.key_line = line;
    }
    return found;
}

}  // namespace

std::string with_ini_value(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value, bool trailing_comments) {
    const std::string_view newline = ini_newline(text);
    const Found found = find(text, section, key);
    std::string out(text);
    if (found.key_line) {
        const std::string_view line =
            text.substr(found.key_line->begin, found.key_line->end - found.key_line->begin);
        const auto [start, end] = value_span(line, trailing_comments);
        return out.replace(found.key_line->begin + start, end - start, value);
    }
    const std::string entry = std::string(key) + "=" + std::string(value);
    if (found.section_tail) {
        const std::size_t end = found.section_tail->end;
        if (end == text.size())
            return out + std::string(newline) + entry + std::string(newline);
        return out.insert(found.section_tail->next, entry + std::string(newline));
    }
    if (!out.empty() && out.back() != '\n')
        out += newline;
    return out + "[" + std::string(section) + "]" + std::string(newline) + entry +
           std::string(newline);
}

}  // namespace net
