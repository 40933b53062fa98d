#include "net/ini_section.h"

namespace net {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// Where a comment starts in the text after '=': at a ';' or '#' right after
// a blank, so "a#b", "x;y" and "key=#pass" stay whole while "key = ; note"
// holds only a comment.
std::size_t comment_start(std::string_view after_equals) {
    for (std::size_t i = 1; i < after_equals.size(); ++i) {
        const char c = after_equals[i];
        if ((c == ';' || c == '#') && is_blank(after_equals[i - 1]))
            return i;
    }
    return after_equals.size();
}

std::string problem_at(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

// A header line's section name, or why it is none.
struct Header {
    std::string name;
    std::string problem;
};

Header read_header(std::string_view line) {
    const auto close = line.find(']');
    if (close == std::string_view::npos)
        return {{}, "'[' without ']'; the lines up to the next section are ignored"};
    const std::string_view rest = trim_blanks(line.substr(close + 1));
    Header header{std::string(trim_blanks(line.substr(1, close - 1))), {}};
    if (header.name.empty())
        header.problem = "a section without a name; the lines up to the next section are ignored";
    else if (!rest.empty() && rest.front() != ';' && rest.front() != '#')
        header.problem = "text after ']' ignored";
    return header;
}

IniLine read_entry(int number, std::string_view line, std::vector<std::string>& problems) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return {number, std::string(line), {}, false};
    std::string problem;
    IniLine entry{number, lower_ascii(trim_blanks(line.substr(0, equals))),
                  ini_value(line.substr(equals + 1), &problem), true};
    if (!problem.empty())
        problems.push_back(problem_at(number, problem));
    return entry;
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

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string ini_value(std::string_view text, std::string* problem) {
    const std::string_view value = trim_blanks(text);
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
        const auto close = value.find(value.front(), 1);
        if (close != std::string_view::npos) {
            const std::string_view rest = trim_blanks(value.substr(close + 1));
            if (problem != nullptr && !rest.empty() && rest.front() != ';' && rest.front() != '#')
                *problem = "text after the closing quote ignored";
            return std::string(value.substr(1, close - 1));
        }
        if (problem != nullptr)
            *problem = "a quote without its closing quote; the value is taken as written";
    }
    return std::string(trim_blanks(text.substr(0, comment_start(text))));
}

std::string ini_written_value(std::string_view value) {
    // A leading ';' or '#' is quoted too: an editor keeps a blank after '='.
    const bool plain = value.empty() ||
                       (!is_blank(value.front()) && !is_blank(value.back()) &&
                        value.find_first_of("\"';#") != 0 && comment_start(value) == value.size());
    if (plain)
        return std::string(value);
    // A value holding both kinds of quote cannot be quoted; it goes as it is.
    for (const char quote : {'"', '\''}) {
        if (value.find(quote) == std::string_view::npos)
            return quote + std::string(value) + quote;
    }
    return std::string(value);
}

IniFile read_ini(std::string_view text) {
    IniFile file;
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    IniSection* current = nullptr;
    bool reported_outside = false;
    int number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trim_blanks(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            Header header = read_header(line);
            if (!header.problem.empty())
                file.problems.push_back(problem_at(number, header.problem));
            current = nullptr;
            if (!header.name.empty()) {
                file.sections.push_back({std::move(header.name), number, {}});
                current = &file.sections.back();
            }
            reported_outside = false;
            continue;
        }
        if (current == nullptr) {
            // Once per stretch of such lines: one line says what is ignored.
            if (!reported_outside)
                file.problems.push_back(problem_at(number, "outside any [section]; ignored"));
            reported_outside = true;
            continue;
        }
        current->lines.push_back(read_entry(number, line, file.problems));
    }
    return file;
}

std::vector<IniLine> ini_section(std::string_view text, std::string_view section) {
    std::vector<IniLine> lines;
    const std::string wanted = lower_ascii(section);
    for (IniSection& s : read_ini(text).sections) {
        if (lower_ascii(s.name) == wanted)
            lines.insert(lines.end(), s.lines.begin(), s.lines.end());
    }
    return lines;
}

}  // namespace net
