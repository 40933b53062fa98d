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
    difference,  // own against the competitor: 领先 N 名 / 落后 N 名
};

// What the board keeps of one cell: its newest checks (oldest first),
// reaching back to the last two checks read for each goods item, and each
// goods item's best rank ever, so the grid never needs the whole history.
struct CellData {
    std::vector<history::Check> recent;
    std::map<std::string, int> best;  // goods id -> best rank
};

// How a cell reads at a glance: good news green, bad news red.
enum class CellTone { plain, good, bad };

struct CellView {
    std::string text;  // "第37名 ▲3（最好第30名）", "千名外", "领先 5 名", "失败 · 上次第37名", …
    std::string tooltip;       // the reason of a failure, and the time of the value shown
    bool stale = false;        // the value shown is an older one: the latest check failed
    bool failed = false;       // the latest check could not be read (失败 or 未检查)
    bool not_checked = false;  // 未检查: never checked, or the run gave the check up
    bool fell = false;         // the goods the view is about moved down (or out of the first 1000)
    CellTone tone = CellTone::plain;
    // What the column sorts by: the rank, or own minus competitor in the
    // difference view; none when the latest check gives no number.
    std::optional<int> value;
};

// What a cell shows for the goods the mode looks at. `competitor` is used by
// the competitor and difference modes. A check that could not be read for
// those goods shows 失败 or 未检查 with the last value read for them.
CellView cell_view(const CellData& cell, const std::string& own, const std::string& competitor,
                   GridMode mode);

// The rows in the order one column sorts them: by value, smallest first (or
// largest first), rows without a value last, ties in board order.
std::vector<std::size_t> sorted_rows(const std::vector<std::optional<int>>& values,
                                     bool descending);

enum class RowFilter { all, fell, failed };  // 全部 / 只看下降 / 只看失败

// Whether a row of cells passes the filter: any of its cells fell, or failed.
bool row_shown(const std::vector<CellView>& row, RowFilter filter);

}  // namespace board
