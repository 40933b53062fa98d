#pragma once
// A board's grid as terminal text (UTF-8): one table per goods item of the
// board, rows the keywords and extra listings, columns the sort orders, each
// cell what the board window shows there (board::cell_view).
#include <string>

#include "board/board.h"
#include "board/board_log.h"

namespace cli {

// The own goods' tables first ("本店 4033138" in the corner), then one per
// competitor with the competitor's ranks ("竞品 96919329"); a blank line
// between tables.
std::string format_grids(const board::Board& board, const board::BoardLog& log);

}  // namespace cli
