#include "history_output.h"

#include <algorithm>
#include <sstream>

#include "board/check_csv.h"
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
                               std::string rank, std::string reason) {
        return std::vector<std::string>{history::iso_utc(check.time_ms),
                                        check.board,
                                        std::string(history::to_text(check.listing)),
                                        check.key,
                                        std::string(history::to_text(check.sort)),
                                        std::move(goods_id),
                                        std::string(role),
                                        std::string(history::to_text(status)),
                                        std::move(rank),
                                        std::move(reason),
                                        std::to_string(check.pages_read),
                                        history::join_statuses(check.http_statuses)};
    };
    if (check.goods.empty())
        return {line({}, {}, check.outcome, {}, check.reason)};
    std::vector<std::vector<std::string>> lines;
    for (const history::GoodsResult& goods : check.goods) {
        const history::Outcome status = history::status_of(check, goods);
        lines.push_back(line(goods.goods_id, history::to_text(goods.role), status,
                             status == history::Outcome::found ? std::to_string(*goods.rank) : "",
                             goods.reason.empty() ? check.reason : goods.reason));
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

std::string json_object(const std::vector<std::string>& line) {
    std::string out = "  {";
    for (std::size_t c = 0; c < kColumns.size(); ++c)
        out += (c == 0 ? "\"" : ",\"") + kColumns[c] + "\":" + json_value(c, line[c]);
    return out + "}";
}

}  // namespace

std::string format_history(const std::vector<history::Check>& checks, Format format) {
    if (format == Format::csv)
        return board::checks_csv(checks, {});
    std::ostringstream out;
    HistoryPrinter printer(format, out);
    if (printer.needs_measuring()) {
        for (const history::Check& check : checks)
            printer.measure(check);
    }
    for (const history::Check& check : checks)
        printer.write(check);
    printer.finish();
    return out.str();
}

HistoryPrinter::HistoryPrinter(Format format, std::ostream& out) : format_(format), out_(out) {
    widen(widths_, kColumns);
}

void HistoryPrinter::measure(const history::Check& check) {
    for (const auto& line : lines_of(check))
        widen(widths_, line);
}

void HistoryPrinter::write(const history::Check& check) {
    if (!started_) {
        started_ = true;
        if (format_ == Format::json)
            out_ << "[";
        else
            out_ << aligned_line(kColumns, widths_);
    }
    for (const auto& line : lines_of(check)) {
        if (format_ == Format::json)
            out_ << (first_ ? "\n" : ",\n") << json_object(line);
        else
            out_ << aligned_line(line, widths_);
        first_ = false;
    }
}

void HistoryPrinter::finish() {
    if (!started_) {
        // Nothing to print: the same text an empty list gives.
        if (format_ == Format::json)
            out_ << "[]\n";
        else
            out_ << aligned_line(kColumns, widths_);
        return;
    }
    if (format_ == Format::json)
        out_ << (first_ ? "]\n" : "\n]\n");
}

}  // namespace cli
