#pragma once
// Goods shown by name: the board keeps the goods and shop names its goods
// pages gave, so the window says "本店 辣条大礼包（零食铺）" instead of an ID.
// Board fields are GBK; the captions are UTF-8 like every other display text.
#include <map>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/goods_confirm.h"

namespace board {

// `typed` with the names `known` has for the same goods (same id, or the
// same link), where `typed` has none: a form that only holds ids and links
// does not lose the names a run found.
Board with_known_names(Board typed, const Board& known);

// Writes the names (and the id of a link) of the goods a run confirmed into
// `board`; true when anything changed.
bool take_names(Board& board, const std::vector<ConfirmedGoods>& goods);

// "辣条大礼包（零食铺）", or the id (or link) when the goods has no name yet.
std::string goods_caption(const GoodsItem& goods);

// Goods ID -> goods_caption for every goods item of the board with a name:
// what the rank chart's legend and title name the goods by.
std::map<std::string, std::string> names_by_id(const Board& board);

// The names the board's notices use: its listings' and its named goods'.
NoticeNames notice_names(const Board& board);

}  // namespace board
