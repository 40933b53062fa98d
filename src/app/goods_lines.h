#pragma once
// The goods boxes of the board form hold one Goods ID or goods link per line;
// the names and shops a board keeps for its goods are shown beside them for
// as long as the line stays what it was.
#include <QString>
#include <string>
#include <vector>

#include "board/board.h"

namespace app {

// The goods item a typed line (GBK, board::typed_goods) stands for: a known
// item whose link, or id, is the line keeps its names (and a link its
// resolved id); any other line is new and has none.
board::GoodsItem with_known(const board::GoodsItem& typed,
                            const std::vector<board::GoodsItem>& known);

// "4033138：辣条大礼包（味道工坊零食旗舰店）", one line per item with a name
// or shop; items without either are left out.
QString goods_names_text(const std::vector<board::GoodsItem>& items);

}  // namespace app
