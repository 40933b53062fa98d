#pragma once
// The cells of a board: one check per keyword and sort order, one per
// category, one for the tab and one for the new goods. Each check reads its
// listing once for every goods item of the board (own goods and competitors).
#include <string>
#include <vector>

#include "board/board.h"
#include "ranking/listing.h"

namespace board {

struct CheckPlan {
    std::vector<std::string> goods_ids;      // the targets of every check, own goods first
    std::vector<ranking::Listing> listings;  // one per check, each listing once
};

// Keyword checks first (keyword by keyword, each under the board's sort
// orders in their order), then the categories, the tab and the new goods.
// A listing named twice is checked once.
CheckPlan plan_checks(const Board& board);

// The same goods, only the listings at `failed` (indices into `previous`),
// in plan order.
CheckPlan plan_of(const CheckPlan& previous, const std::vector<std::size_t>& failed);

}  // namespace board
