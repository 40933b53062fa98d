#pragma once
// A board as text, for the history to keep under the board's name and for
// files: UTF-8, one "key=value" line per field, so Chinese, commas, quotes
// and '=' in values need no care. A backslash, CR, LF and TAB inside a value
// are written as \\, \r, \n and \t. The first line names the format version:
//
//   korvel-board=1
//   name=我的看板
//   own=4033138
//   goods_link=http://…/goods2.html?goods_id=4033138
//   goods_name=辣条大礼包
//   goods_shop=味道工坊零食旗舰店
//   competitor=96919329
//   keyword=辣条大礼包
//   sorts=default,sales,credit,price-asc,price-desc
//   category=14
//   category_name=休闲零食
//   tab=14
//   tab_name=今日推荐
//   new_goods=1
//   channel=运营群
//   report=09:00
//
// goods_link, goods_name and goods_shop belong to the own or competitor line
// above them, category_name to the category line above it. Without a sorts
// line every sort order is checked; "sorts=" with nothing after it chooses
// none. Each channel line names a notice channel of korvel.ini; report is the
// daily report's local time (none: no report).
#include <optional>
#include <string>
#include <string_view>

#include "board/board.h"

namespace board {

std::string board_to_text(const Board& board);

// The board the text describes, or nullopt with the first fault in `error`
// ("line N: …") when the text is not one this version wrote. The board is
// not validated here (see validate()).
std::optional<Board> board_from_text(std::string_view text, std::string* error = nullptr);

// The same with the text fields left in UTF-8 as the text has them, for
// check_typed (typed_board.h) to find what GBK cannot keep.
std::optional<Board> typed_board_from_text(std::string_view text, std::string* error = nullptr);

}  // namespace board
