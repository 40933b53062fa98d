#include "net/ini_edit.h"

#include <optional>
#include <vector>

#include "net/ini_section.h"

namespace net {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Line {
    std::size_t begin = 0;  // offset of the line in the text
    std::size_t end = 0;    // offset of its line end (or of the text's end)
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = std::min(text.find('\n', begin), text.size());
        const std::size_t next = end + 1;
        if (end > begin && text[end - 1] == '\r')
            --end;
        lines.push_back({begin, end});
        begin = next;
    }
    return lines;
}

bool same_name(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The section a header line opens, or nullopt when the line is none.
std::optional<std::string_view> header_name(std::string_view line) {
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const auto close = line.find(']');
    return close == std::string_view::npos ? std::string_view()
                                           : trim_blanks(line.substr(1, close - 1));
}

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
    std::optional<Line> key_line;      // the last line of the key in the section
    std::optional<Line> section_tail;  // the section's last key line, or its header
};

Found find(std::string_view text, std::string_view section, std::string_view key) {
    Found found;
    bool inside = false;
    for (const Line& line : split_lines(text)) {
        std::string_view content = text.substr(line.begin, line.end - line.begin);
        if (line.begin == 0 && content.starts_with(kByteOrderMark))
            content.remove_prefix(kByteOrderMark.size());
        content = trim_blanks(content);
        if (const auto name = header_name(content)) {
            inside = same_name(*name, section);
            if (inside)
                found.section_tail = line;
            continue;
        }
        if (!inside || content.empty() || content.front() == ';' || content.front() == '#')
            continue;
        const auto equals = content.find('=');
        if (equals == std::string_view::npos)
            continue;
        found.section_tail = line;
        if (same_name(trim_blanks(content.substr(0, equals)), key))
            found.key_line = line;
    }
    return found;
}

}  // namespace

std::string with_ini_value(std::string_view text, std::string_view section, std::string_view key,
                           std::string_view value) {
    const std::string written = ini_written_value(value);
    const std::string_view newline = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
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
        const std::size_t after = text.find('\n', end) + 1;
        return out.insert(after, entry + std::string(newline));
    }
    if (!out.empty() && out.back() != '\n')
        out += newline;
    return out + "[" + std::string(section) + "]" + std::string(newline) + entry +
           std::string(newline);
}

}  // namespace net
