#include "app/self_update_profile.h"

#include <vector>

#include "text/primitives.h"

namespace app {

namespace {

std::vector<std::string> split_lines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos)
            end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

bool same_name(std::string_view a, std::string_view b) {
    return text::compare(text::trim(a), text::trim(b), false) == 0;
}

bool is_section_line(std::string_view line) {
    const std::string t = text::trim(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
}

bool is_section(std::string_view line, std::string_view section) {
    if (!is_section_line(line))
        return false;
    const std::string t = text::trim(line);
    return same_name(std::string_view(t).substr(1, t.size() - 2), section);
}

bool is_key(std::string_view line, std::string_view key) {
    const std::size_t eq = line.find('=');
    return eq != std::string_view::npos && same_name(line.substr(0, eq), key);
}

std::string join(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& line : lines)
        out += line + "\r\n";
    return out;
}

}  // namespace

std::string with_profile_entry(std::string_view content, std::string_view section,
                               std::string_view key, std::string_view value) {
    std::vector<std::string> lines = split_lines(content);
    const std::string entry = std::string(key) + "=" + std::string(value);
    std::size_t i = 0;
    while (i < lines.size() && !is_section(lines[i], section))
        ++i;
    if (i == lines.size()) {
        lines.push_back("[" + std::string(section) + "]");
        lines.push_back(entry);
        return join(lines);
    }
    std::size_t last_entry = i;
    for (std::size_t j = i + 1; j < lines.size() && !is_section_line(lines[j]); ++j) {
        if (is_key(lines[j], key)) {
            lines[j] = entry;
            return join(lines);
        }
        if (!text::trim(lines[j]).empty())
            last_entry = j;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last_entry) + 1, entry);
    return join(lines);
}

}  // namespace app
