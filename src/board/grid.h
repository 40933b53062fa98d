#pragma once
// The board's grid: one row per keyword (and per extra listing), one column
// per sort order, and what each cell shows for the goods the grid looks at.
// Texts are UTF-8 (the window converts at its boundary like every other text).
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/check_record.h"
#include "history/records.h"

namespace board {

struct GridLayout {
    std::vector<std::string> rows;       // "辣条", "类目 14", "爱逛街 3", "新品"
    std::vector<ranking::Sort> columns;  // the board's sort orders
    std::vector<std::vector<std::optional<CellKey>>> cells;  // [row][column]; none: no check there
};

// Keywords in board order, one column per chosen sort; the extra listings
// follow as rows of their own with their one check in the first column.
GridLayout grid_layout(const Board& board);

// The column caption of a sort order (its word in board/words.h).
std::string sort_caption(ranking::Sort sort);

enum class GridMode {
    own,         // the own goods' rank
    competitor,  // a competitor's rank
    difference,  // own rank minus the competitor's (negative: the own goods is ahead)
};

// What the board keeps of one cell: its newest checks (oldest first),
// reaching back to the last two checks read for each goods item, and each
// goods item's best rank ever, so the grid never needs the whole history.
struct CellData {
    std::vector<history::Check> recent;
    std::map<std::string, int> best;  // goods id -> best rank
};

struct CellView {
    std::string text;  // "第37名 ▲3 (最好第30名)", "千名外", "失败 · 上次第37名", "未检查", …
    std::string tooltip;  // the reason of a failure, and the time of the value shown
    bool stale = false;   // the value shown is an older one: the latest check failed
};

// What a cell shows for the goods the mode looks at. `competitor` is used by
// the competitor and difference modes. A check that could not be read for
// those goods shows 失败 or 未检查 with the last value read for them.
CellView cell_view(const CellData& cell, const std::string& own, const std::string& competitor,
                   GridMode mode);

}  // namespace board
