#include "history/csv_export.h"

namespace history {

std::string csv_field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') {
            quoted += '"';
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string spreadsheet_safe(std::string_view text) {
    // A spreadsheet evaluates a cell that begins with one of these, so a
    // keyword such as =HYPERLINK(...) would run instead of being shown.
    constexpr std::string_view kFormulaStarts = "=+-@\t\r";
    if (!text.empty() && kFormulaStarts.find(text.front()) != std::string_view::npos) {
        return "'" + std::string(text);
    }
    return std::string(text);
}

std::string csv_text(std::string_view text) {
    return csv_field(spreadsheet_safe(text));
}

std::string csv_line(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += fields[i];
    }
    line += "\r\n";
    return line;
}

}  // namespace history
