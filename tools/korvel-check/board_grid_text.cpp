#include "board_grid_text.h"

#include <vector>

#include "board/grid.h"
#include "board/words.h"
#include "output_format.h"
#include "text/codepage.h"

namespace cli {

namespace {

using Lines = std::vector<std::vector<std::string>>;

Lines grid_lines(const board::GridLayout& layout, const board::BoardLog& log,
                 const std::string& corner, const std::string& own, const std::string& competitor,
                 board::GridMode mode) {
    std::vector<std::string> header{corner};
    for (ranking::Sort sort : layout.columns)
        header.push_back(board::sort_caption(sort));
    Lines lines{std::move(header)};
    for (std::size_t r = 0; r < layout.rows.size(); ++r) {
        std::vector<std::string> line{layout.rows[r]};
        for (const std::optional<board::CellKey>& key : layout.cells[r])
            line.push_back(key ? board::cell_view(log.cell(*key), own, competitor, mode).text
                               : std::string(board::kNoSortWord));
        lines.push_back(std::move(line));
    }
    return lines;
}

// "本店 辣条大礼包（4033138）", or "本店 4033138" while the name is unknown.
std::string corner_of(std::string_view role, const board::GoodsItem& item) {
    const std::string id = text::gbk_to_utf8(item.id);
    if (item.name.empty())
        return std::string(role) + " " + id;
    return std::string(role) + " " + text::gbk_to_utf8(item.name) + "（" + id + "）";
}

}  // namespace

std::string format_grids(const board::Board& board, const board::BoardLog& log) {
    const board::GridLayout layout = board::grid_layout(board);
    const std::string first_own = board.own.empty() ? std::string() : board.own.front().id;
    std::string out;
    const auto add = [&out](const Lines& lines) {
        out += (out.empty() ? "" : "\n") + aligned_table(lines);
    };
    for (const board::GoodsItem& item : board.own)
        add(grid_lines(layout, log, corner_of(board::kOwnWord, item), item.id, {},
                       board::GridMode::own));
    for (const board::GoodsItem& item : board.competitors)
        add(grid_lines(layout, log, corner_of(board::kCompetitorWord, item), first_own, item.id,
                       board::GridMode::competitor));
    return out;
}

}  // namespace cli
