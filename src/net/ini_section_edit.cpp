#include "net/ini_section_edit.h"

#include <algorithm>

#include "net/ini_lines.h"
#include "net/ini_section.h"

namespace net {

namespace {

// A block of the section as line numbers (indexes into the text's lines),
// header through last key line, both included.
struct Block {
    std::size_t header = 0;
    std::size_t last = 0;
};

std::vector<Block> blocks_of(std::string_view text, const std::vector<IniTextLine>& lines,
                             std::string_view section) {
    std::vector<Block> blocks;
    bool inside = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view content = ini_line_content(text, lines[i]);
        if (const auto name = ini_header_name(content)) {
            inside = same_ini_name(*name, section);
            if (inside)
                blocks.push_back({i, i});
        } else if (inside && is_ini_key_line(content)) {
            blocks.back().last = i;
        }
    }
    return blocks;
}

bool blank(std::string_view text, const std::vector<IniTextLine>& lines, std::size_t i) {
    return ini_line_content(text, lines[i]).empty();
}

// The byte range a block takes away: its lines, and one blank line beside
// it when it stood between two (or between the start and one), or ended the
// text after one.
std::pair<std::size_t, std::size_t> removed_range(std::string_view text,
                                                  const std::vector<IniTextLine>& lines,
                                                  const Block& block) {
    std::size_t begin = lines[block.header].begin;
    std::size_t end = lines[block.last].next;
    const bool blank_before = block.header > 0 && blank(text, lines, block.header - 1);
    const bool blank_after = block.last + 1 < lines.size() && blank(text, lines, block.last + 1);
    const bool at_end =
        std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(block.last) + 1, lines.end(),
                    [&](const IniTextLine& line) { return ini_line_content(text, line).empty(); });
    if (blank_after && !at_end && (blank_before || block.header == 0))
        end = lines[block.last + 1].next;
    else if (at_end && blank_before)
        begin = lines[block.header - 1].begin;
    return {begin, end};
}

std::string joined(const std::vector<std::string>& lines, std::string_view newline) {
    std::string out;
    for (const std::string& line : lines)
        out += line + std::string(newline);
    return out;
}

}  // namespace

std::vector<std::string> ini_section_names(std::string_view text, std::string_view prefix) {
    std::vector<std::string> names;
    for (const IniTextLine& line : ini_text_lines(text)) {
        const auto header = ini_header_name(ini_line_content(text, line));
        if (!header || header->size() <= prefix.size() ||
            !same_ini_name(header->substr(0, prefix.size()), prefix))
            continue;
        const std::string_view name = trim_blanks(header->substr(prefix.size()));
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& n) {
            return same_ini_name(n, name);
        });
        if (!name.empty() && !known)
            names.emplace_back(name);
    }
    return names;
}

std::string without_ini_section(std::string_view text, std::string_view section) {
    const std::vector<IniTextLine> lines = ini_text_lines(text);
    const std::vector<Block> blocks = blocks_of(text, lines, section);
    std::string out(text);
    // From the back, so the offsets of the blocks before stay true.
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        const auto [begin, end] = removed_range(text, lines, *block);
        out.erase(begin, end - begin);
    }
    return out;
}

std::string with_ini_section(std::string_view text, std::string_view section,
                             const std::vector<std::string>& new_lines) {
    const std::string_view newline = ini_newline(text);
    const std::vector<IniTextLine> lines = ini_text_lines(text);
    const std::vector<Block> blocks = blocks_of(text, lines, section);
    if (blocks.empty()) {
        std::string out(text);
        if (!lines.empty()) {
            if (out.back() != '\n')
                out += newline;
            if (!blank(text, lines, lines.size() - 1))
                out += newline;
        }
        return out + "[" + std::string(section) + "]" + std::string(newline) +
               joined(new_lines, newline);
    }
    std::string out(text);
    // Later blocks first, from the back, so the offsets before them stay true.
    for (std::size_t b = blocks.size(); b-- > 1;) {
        const auto [begin, end] = removed_range(text, lines, blocks[b]);
        out.erase(begin, end - begin);
    }
    const IniTextLine& header = lines[blocks.front().header];
    const std::size_t end = lines[blocks.front().last].next;
    // A header that ends the text without a line end needs one before the keys.
    const std::string lead = header.next == header.end ? std::string(newline) : std::string();
    return out.replace(header.next, end - header.next, lead + joined(new_lines, newline));
}

std::string without_ini_key(std::string_view text, std::string_view section, std::string_view key) {
    const std::vector<IniTextLine> lines = ini_text_lines(text);
    std::string out(text);
    bool inside = false;
    std::vector<const IniTextLine*> doomed;
    for (const IniTextLine& line : lines) {
        const std::string_view content = ini_line_content(text, line);
        if (const auto name = ini_header_name(content)) {
            inside = same_ini_name(*name, section);
        } else if (inside && is_ini_key_line(content) &&
                   same_ini_name(trim_blanks(content.substr(0, content.find('='))), key)) {
            doomed.push_back(&line);
        }
    }
    for (auto line = doomed.rbegin(); line != doomed.rend(); ++line)
        out.erase((*line)->begin, (*line)->next - (*line)->begin);
    return out;
}

}  // namespace net
