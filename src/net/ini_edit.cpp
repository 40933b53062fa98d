#include "net/ini_edit.h"

#include <optional>
#include <vector>

#include "net/ini_lines.h"
#include "net/ini_section.h"

namespace net {

namespace {

// Where the value of a "key = value" line starts and ends inside the line, as
// the reader sees it: after the blanks following '=', through its closing
// quote when quoted, else before the blanks and a comment that follow it.
std::pair<std::size_t, std::size_t> value_span(std::string_view line) {
    std::size_t start = line.find('=') + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    const std::string_view rest = line.substr(start);
    if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) {
        const auto close = rest.find(rest.front(), 1);
        if (close != std::string_view::npos)
            return {start, start + close + 1};
    }
    std::size_t end = line.size();
    // line[start - 1] is '=' or a blank, as the reader sees it.
    for (std::size_t i = start; i < line.size(); ++i) {
        if ((line[i] == ';' || line[i] == '#') && (line[i - 1] == ' ' || line[i - 1] == '\t')) {
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
                           std::string_view value) {
    const std::string written = ini_written_value(value);
    const std::string_view newline = ini_newline(text);
    const Found found = find(text, section, key);
    std::string out(text);
    if (found.key_line) {
        const std::string_view line =
            text.substr(found.key_line->begin, found.key_line->end - found.key_line->begin);
        const auto [start, end] = value_span(line);
        // A value put before a comment that had none keeps a blank before it.
        const bool before_comment = start == end && end < line.size();
        return out.replace(found.key_line->begin + start, end - start,
                           before_comment && !written.empty() ? written + " " : written);
    }
    const std::string entry = std::string(key) + "=" + written;
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
