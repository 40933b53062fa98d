#include "history_output.h"

#include <algorithm>

#include "history/csv_export.h"
#include "history/iso_time.h"
#include "output_format.h"

namespace cli {

namespace {

const std::vector<std::string> kColumns = {"time", "board",    "listing", "key",
                                           "sort", "goods_id", "role",    "status",
                                           "rank", "reason",   "pages",   "http_statuses"};

// One line per goods item, in kColumns order.
std::vector<std::vector<std::string>> lines_of(const history::Check& check) {
    const auto line = [&check](std::string goods_id, std::string_view role, history::Outcome status,
                               std::string rank) {
        return std::vector<std::string>{history::iso_utc(check.time_ms),
                                        check.board,
                                        std::string(history::to_text(check.listing)),
                                        check.key,
                                        std::string(history::to_text(check.sort)),
                                        std::move(goods_id),
                                        std::string(role),
                                        std::string(history::to_text(status)),
                                        std::move(rank),
                                        check.reason,
                                        std::to_string(check.pages_read),
                                        history::join_statuses(check.http_statuses)};
    };
    if (check.goods.empty())
        return {line({}, {}, check.outcome, {})};
    std::vector<std::vector<std::string>> lines;
    for (const history::GoodsResult& goods : check.goods) {
        const history::Outcome status = history::status_of(check, goods);
        lines.push_back(line(goods.goods_id, history::to_text(goods.role), status,
                             status == history::Outcome::found ? std::to_string(*goods.rank) : ""));
    }
    return lines;
}

std::string json_value(std::size_t column, const std::string& cell) {
    const std::string& name = kColumns[column];
    if (cell.empty())
        return name == "http_statuses" ? "[]" : "null";
    if (name == "rank" || name == "pages")
        return cell;
    if (name == "http_statuses") {
        std::string list = cell;
        std::replace(list.begin(), list.end(), ';', ',');
        return "[" + list + "]";
    }
    return json_string(cell);
}

std::string format_json(const std::vector<std::vector<std::string>>& lines) {
    if (lines.empty())
        return "[]\n";
    std::string out = "[\n";
    for (std::size_t l = 0; l < lines.size(); ++l) {
        out += "  {";
        for (std::size_t c = 0; c < kColumns.size(); ++c)
            out += (c == 0 ? "\"" : ",\"") + kColumns[c] + "\":" + json_value(c, lines[l][c]);
        out += l + 1 < lines.size() ? "},\n" : "}\n";
    }
    return out + "]\n";
}

}  // namespace

std::string format_history(const std::vector<history::Check>& checks, Format format) {
    if (format == Format::csv)
        return history::to_csv(checks);
    std::vector<std::vector<std::string>> lines;
    for (const history::Check& check : checks) {
        for (auto& line : lines_of(check))
            lines.push_back(std::move(line));
    }
    if (format == Format::json)
        return format_json(lines);
    lines.insert(lines.begin(), kColumns);
    return aligned_table(lines);
}

}  // namespace cli
