#include "net/ini_lines.h"

#include <algorithm>

#include "net/ini_section.h"

namespace net {

namespace {
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

std::vector<IniTextLine> ini_text_lines(std::string_view text) {
    std::vector<IniTextLine> lines;
    std::size_t begin = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (begin < text.size()) {
        std::size_t end = std::min(text.find('\n', begin), text.size());
        const std::size_t next = std::min(end + 1, text.size());
        if (end > begin && text[end - 1] == '\r')
            --end;
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

std::string_view ini_line_content(std::string_view text, const IniTextLine& line) {
    return trim_blanks(text.substr(line.begin, line.end - line.begin));
}

std::optional<std::string_view> ini_header_name(std::string_view content) {
    if (content.empty() || content.front() != '[')
        return std::nullopt;
    const auto close = content.find(']');
    return close == std::string_view::npos ? std::string_view()
                                           : trim_blanks(content.substr(1, close - 1));
}

bool is_ini_key_line(std::string_view content) {
    return !content.empty() && content.front() != ';' && content.front() != '#' &&
           content.front() != '[' && content.find('=') != std::string_view::npos;
}

bool same_ini_name(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view ini_newline(std::string_view text) {
    return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

}  // namespace net
