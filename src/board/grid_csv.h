#pragma once
// The board's grid as a spreadsheet sees it (UTF-8 CSV with a byte-order
// mark, CR LF): the keywords and extra listings down, the sort orders across,
// each cell the own goods' latest word ("第37名", "千名外", "失败", "未检查").
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "board/board_log.h"
#include "board/goods_names.h"
#include "board/grid.h"

namespace board {

// One own goods item's grid as lines of cells: a header (the corner, then the
// sort words), then one line per row of the layout. A cell without a check
// is empty; a cell in `stopped` (a stopped run did not reach it) is 未检查.
std::vector<std::vector<std::string>> grid_cells(const GridLayout& layout, const BoardLog& log,
                                                 const std::string& own_id,
                                                 const std::string& corner,
                                                 const std::set<CellKey>& stopped);

// One block per own goods item of the board, "本店 <name or id>" in its
// corner, an empty line between blocks. Every field is spreadsheet-safe.
std::string grid_csv(const Board& board, const GridLayout& layout, const BoardLog& log,
                     const std::set<CellKey>& stopped);

// "我的看板-表格-2026-12-09.csv": the board's name (UTF-8; 看板 when it has
// none) with the characters a file name cannot hold replaced, the kind of
// export and the date.
std::string export_file_name(std::string_view board_name, std::string_view kind,
                             std::string_view date);

}  // namespace board
