#include "board/grid_csv.h"

#include "board/check_csv.h"
#include "board/notices.h"
#include "board/words.h"
#include "history/csv_export.h"
#include "text/codepage.h"

namespace board {
namespace {

// The own goods' word in the cell's latest check.
std::string latest_word(const CellData& cell, const std::string& own_id) {
    if (cell.recent.empty())
        return std::string(kNotCheckedWord);
    const history::Check& latest = cell.recent.back();
    const history::GoodsResult* row = find_goods(latest, own_id);
    if (row == nullptr) {
        // The goods item was not looked for in this check (added to the board later).
        return is_successful(latest) ? std::string(kNotCheckedWord)
                                     : status_word(latest.outcome, std::nullopt);
    }
    return status_word(history::status_of(latest, *row), row->rank);
}

std::string csv_of(const std::vector<std::vector<std::string>>& lines) {
    std::string out;
    for (const auto& line : lines) {
        std::vector<std::string> fields;
        for (const std::string& cell : line)
            fields.push_back(history::csv_text(cell));
        out += history::csv_line(fields);
    }
    return out;
}

}  // namespace

std::vector<std::vector<std::string>> grid_cells(const GridLayout& layout, const BoardLog& log,
                                                 const std::string& own_id,
                                                 const std::string& corner,
                                                 const std::set<CellKey>& stopped) {
    std::vector<std::string> header{corner};
    for (ranking::Sort sort : layout.columns)
        header.emplace_back(sort_word(sort));
    std::vector<std::vector<std::string>> lines{std::move(header)};
    for (std::size_t r = 0; r < layout.rows.size(); ++r) {
        std::vector<std::string> line{layout.rows[r]};
        for (const std::optional<CellKey>& key : layout.cells[r]) {
            if (!key)
                line.emplace_back(kNoSortWord);
            else if (stopped.contains(*key))
                line.emplace_back(kNotCheckedWord);
            else
                line.push_back(latest_word(log.cell(*key), own_id));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string grid_csv(const Board& board, const GridLayout& layout, const BoardLog& log,
                     const std::set<CellKey>& stopped) {
    std::string out(history::kByteOrderMark);
    bool first = true;
    for (const GoodsItem& item : board.own) {
        const std::string& shown = !item.name.empty() ? item.name
                                   : !item.id.empty() ? item.id
                                                      : item.link;
        const std::string label = text::gbk_to_utf8(shown);
        if (!first)
            out += "\r\n";
        first = false;
        out +=
            csv_of(grid_cells(layout, log, item.id, std::string(kOwnWord) + " " + label, stopped));
    }
    return out;
}

std::string export_file_name(std::string_view board_name, std::string_view kind,
                             std::string_view date) {
    std::string name(board_name.empty() ? std::string_view("看板") : board_name);
    for (char& c : name) {
        if (std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20)
            c = '_';
    }
    return name + "-" + std::string(kind) + "-" + std::string(date) + ".csv";
}

}  // namespace board
