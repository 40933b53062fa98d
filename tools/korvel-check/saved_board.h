#pragma once
// The board --save-board keeps: the one-off options' goods and listings
// under a name, with the schedule and notice thresholds given. Nothing is
// fetched: a goods link is kept as a link, and the run that reads the board
// looks its Goods ID up, as it does for a board saved in the window.
#include <string>

#include "board/board.h"
#include "board_admin_options.h"
#include "check_plan.h"

namespace cli {

struct BoardOrProblem {
    board::Board board;
    std::string problem;  // UTF-8; empty when the board can be saved
};

// `name` is UTF-8 as typed.
BoardOrProblem saved_board(const std::string& name, const CheckPlan& plan,
                           const BoardAdminOptions& admin);

// What keeps a text form from being saved (it does not read, or the board it
// describes cannot be checked), or empty; `board` receives what it describes.
std::string board_of_text(std::string_view text, board::Board& board);

}  // namespace cli
