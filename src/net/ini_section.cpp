#include "net/ini_section.h"

namespace net {

namespace {

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

}  // namespace

std::string_view trim_blanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::vector<IniLine> ini_section(std::string_view text, std::string_view section) {
    std::vector<IniLine> lines;
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string wanted = lower_ascii(section);
    bool inside = false;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trim_blanks(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const auto close = line.find(']');
            inside = close != std::string_view::npos &&
                     lower_ascii(trim_blanks(line.substr(1, close - 1))) == wanted;
            continue;
        }
        if (!inside)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            lines.push_back({number, std::string(line), {}, false});
            continue;
        }
        lines.push_back({number, lower_ascii(trim_blanks(line.substr(0, equals))),
                         std::string(trim_blanks(line.substr(equals + 1))), true});
    }
    return lines;
}

}  // namespace net
