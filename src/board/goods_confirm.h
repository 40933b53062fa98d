#pragma once
// Before a board runs, each of its goods items is confirmed by its goods
// page: a link becomes a Goods ID, a typed ID is checked to exist, and both
// get their goods and shop names. A goods item whose page was read and names
// no goods is not searched for; its checks fail with "商品不存在或已下架",
// never "千名外". A typed id whose page could not be fetched is searched for
// all the same: a passing fault of one page must not cost the whole run.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "board/board.h"
#include "net/abort_signal.h"
#include "net/fetch_page.h"
#include "net/hosts.h"
#include "ranking/run_outcome.h"

namespace board {

struct ConfirmedGoods {
    GoodsItem item;  // id and names as the page gave them
    bool own = true;
    std::optional<ranking::RunOutcome> failure;  // the page could not be read or names no goods
};

// What one goods page says about the item typed (pure: the page is given).
ConfirmedGoods confirm_from_page(const GoodsItem& typed, bool own, const net::PageResult& page);

// Fetches a goods page; the abort signal ends the wait early.
using GoodsPageFetch = std::function<net::PageResult(const std::string& url, net::AbortSignal&)>;

// Every goods item of the board, own goods first, each confirmed by its page
// (an id among `known` is taken as confirmed without one).
std::vector<ConfirmedGoods> confirm_goods(const Board& board, const net::Hosts& hosts,
                                          const GoodsPageFetch& fetch, net::AbortSignal& abort,
                                          const std::vector<std::string>& known = {});

// The board with the confirmed ids and names written into its goods items
// (the failed ones keep what was typed).
Board with_confirmed(Board board, const std::vector<ConfirmedGoods>& goods);

}  // namespace board
