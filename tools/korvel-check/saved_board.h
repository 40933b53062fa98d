#pragma once
// The boards korvel-check saves: from the one-off options (--save-board) or
// from a board's text form (--import-board). Nothing is fetched: a goods
// link is kept as a link, and the run that reads the board looks its Goods
// ID up, as it does for a board saved in the window. Both are checked the
// way the window checks a board before saving it, every fault at once.
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "check_options.h"

namespace cli {

struct BoardOrProblem {
    board::Board board;               // GBK
    std::vector<std::string> faults;  // UTF-8; empty when the board can be saved
};

// The options' goods, keywords (--keyword's, then `file_keywords`), sort
// orders, categories, tab and new goods under `name` (UTF-8 as typed), with
// the schedule and notice thresholds given. `domain_word` (GBK) marks a goods
// link.
BoardOrProblem saved_board(const std::string& name, const CheckOptions& options,
                           const std::vector<std::string>& file_keywords,
                           std::string_view domain_word);

// The board a text form describes; its faults are the one line the text
// cannot be read for, or everything that keeps the board from being saved.
BoardOrProblem board_of_text(std::string_view text, std::string_view domain_word);

}  // namespace cli
