#include "catalogue/category_line.h"

#include <optional>

#include "text/codepage.h"
#include "text/primitives.h"

namespace catalogue {

namespace {

std::optional<CategoryEntry> parse_line(std::string_view line) {
    const std::string& separator = category_separator();
    const int at = text::find_last(line, separator);
    if (at < 1)
        return std::nullopt;
    const auto name_end = static_cast<std::size_t>(at - 1);
    const std::size_t id_start = name_end + separator.size();
    if (id_start >= line.size())
        return std::nullopt;
    return CategoryEntry{std::string(line.substr(0, name_end)), std::string(line.substr(id_start))};
}

}  // namespace

const std::string& category_separator() {
    return GBK("—");
}

std::string category_line(std::string_view name, std::string_view id) {
    std::string line;
    line.reserve(name.size() + id.size() + 4);
    line.append(name).append(category_separator()).append(id).append("\r\n");
    return line;
}

std::vector<CategoryEntry> parse_category_lines(std::string_view buffer) {
    std::vector<CategoryEntry> entries;
    for (const std::string& line : text::split(text::as_text(buffer), "\r\n")) {
        if (auto entry = parse_line(line))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

}  // namespace catalogue
