#include "output_format.h"

#include <array>
#include <cstdint>

#include "history/csv_export.h"

namespace cli {

namespace {

using Cells = std::array<std::string, 7>;

constexpr Cells kHeader = {"goods_id", "listing", "key", "sort", "status", "rank", "reason"};

std::string rank_text(const ResultRow& row) {
    return row.status == ranking::RunStatus::found ? std::to_string(row.rank) : std::string();
}

Cells cells_of(const ResultRow& row) {
    return {row.goods_id,   row.listing, row.key, row.sort, std::string(status_name(row.status)),
            rank_text(row), row.reason};
}

std::string json_or_null(std::string_view value) {
    return value.empty() ? std::string("null") : json_string(value);
}

std::string json_object(const ResultRow& row) {
    std::string out = "{\"goods_id\":" + json_string(row.goods_id);
    out += ",\"listing\":" + json_string(row.listing);
    out += ",\"key\":" + json_or_null(row.key);
    out += ",\"sort\":" + json_or_null(row.sort);
    out += ",\"status\":" + json_string(status_name(row.status));
    out += ",\"rank\":" + (row.status == ranking::RunStatus::found ? rank_text(row) : "null");
    out += ",\"reason\":" + json_or_null(row.reason);
    return out + "}";
}

void append_padded(std::string& line, const std::string& cell, int width) {
    line += cell;
    line.append(static_cast<std::size_t>(std::max(0, width - display_width(cell))), ' ');
}

}  // namespace

std::string csv_field(std::string_view value) {
    return history::csv_field(value);
}

std::string json_string(std::string_view value) {
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += hex[byte >> 4];
                    out += hex[byte & 15];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::string format_csv(const std::vector<ResultRow>& rows, bool byte_order_mark) {
    std::string out(byte_order_mark ? history::kByteOrderMark : "");
    const auto append_line = [&out](const Cells& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out += (i == 0 ? "" : ",") + history::csv_text(cells[i]);
        out += '\n';
    };
    append_line(kHeader);
    for (const ResultRow& row : rows)
        append_line(cells_of(row));
    return out;
}

std::string format_json(const std::vector<ResultRow>& rows) {
    if (rows.empty())
        return "[]\n";
    std::string out = "[\n";
    for (std::size_t i = 0; i < rows.size(); ++i)
        out += "  " + json_object(rows[i]) + (i + 1 < rows.size() ? ",\n" : "\n");
    return out + "]\n";
}

void widen(std::vector<int>& widths, const std::vector<std::string>& cells) {
    widths.resize(std::max(widths.size(), cells.size()), 0);
    for (std::size_t i = 0; i < cells.size(); ++i)
        widths[i] = std::max(widths[i], display_width(cells[i]));
}

std::string aligned_line(const std::vector<std::string>& cells, const std::vector<int>& widths) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        append_padded(line, cells[i], i < widths.size() ? widths[i] : 0);
        line += "  ";
    }
    return line.substr(0, line.find_last_not_of(' ') + 1) + '\n';
}

std::string aligned_table(const std::vector<std::vector<std::string>>& lines) {
    std::vector<int> widths;
    for (const auto& cells : lines)
        widen(widths, cells);
    std::string out;
    for (const auto& cells : lines)
        out += aligned_line(cells, widths);
    return out;
}

std::string format_table(const std::vector<ResultRow>& rows) {
    std::vector<std::vector<std::string>> lines{{kHeader.begin(), kHeader.end()}};
    for (const ResultRow& row : rows) {
        const Cells cells = cells_of(row);
        lines.emplace_back(cells.begin(), cells.end());
    }
    return aligned_table(lines);
}

std::string format_rows(const std::vector<ResultRow>& rows, Format format, bool byte_order_mark) {
    switch (format) {
        case Format::csv:
            return format_csv(rows, byte_order_mark);
        case Format::json:
            return format_json(rows);
        case Format::table:
            break;
    }
    return format_table(rows);
}

}  // namespace cli
