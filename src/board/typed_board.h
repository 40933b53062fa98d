#pragma once
// A board as the seller typed it (the board form, a text file, korvel-check's
// options), checked before it is saved or run. Its text fields still hold
// UTF-8: a character GBK has no code for (an emoji), a byte that is no UTF-8
// and a control character (NUL, CR, LF, ESC, …) are found here, before the
// conversion to GBK would turn them into "?" or cut the text short. Every
// fault is listed at once, so one message tells the seller all there is.
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"

namespace board {

struct TypedBoard {
    Board board;                      // GBK: what is saved and run
    std::vector<std::string> faults;  // GBK, one message per fault; empty: it can be saved
};

// `typed` holds UTF-8 text; `domain_word` (GBK, the hosts' domain word) marks
// a goods input as a link, as on the keyword page. The faults are those of
// the characters of every field, a goods input that is neither an id nor a
// link, validate()'s and the schedule's.
TypedBoard check_typed(const Board& typed, std::string_view domain_word);

// A goods input as typed (trimmed): digits are a Goods ID, anything else is
// taken as a goods link (check_typed tells whether it is one).
GoodsItem typed_goods(std::string_view typed_utf8);

// UTF-8 text without the spaces, tabs and full-width spaces around it.
std::string trimmed(std::string_view utf8);

// What is wrong with one field's characters (GBK, to follow the field's
// name and value), or empty.
std::string character_fault(std::string_view utf8);

// The board with every text field turned from UTF-8 into GBK.
Board board_to_gbk(const Board& utf8);

}  // namespace board
