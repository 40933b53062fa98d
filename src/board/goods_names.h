#pragma once
// The goods names and shops the exports print beside each Goods ID, taken
// from the boards that name them (UTF-8).
#include <map>
#include <string>

#include "board/board.h"
#include "history/store.h"

namespace board {

struct GoodsNames {
    std::string name;
    std::string shop;
    bool operator==(const GoodsNames&) const = default;
};

// Goods ID -> names; a Goods ID absent from it exports with empty names.
using NamesById = std::map<std::string, GoodsNames>;

// The board's goods (own and competitors) that carry a name or a shop.
NamesById goods_names(const Board& board);

// The same over every board saved in the history, the first board (by name)
// that names a goods item winning; boards that cannot be read are passed by.
NamesById goods_names(const history::Store& store);

// Board name (UTF-8) -> the names its categories and tab were chosen with.
using ListingNamesByBoard = std::map<std::string, ListingNames>;
ListingNamesByBoard listing_names_by_board(const Board& board);
ListingNamesByBoard listing_names_by_board(const history::Store& store);

}  // namespace board
