#include "board/goods_names.h"

#include <functional>

#include "board/board_text.h"
#include "text/codepage.h"

namespace board {
namespace {

void add_names(const Board& board, NamesById& names) {
    for (const auto* items : {&board.own, &board.competitors}) {
        for (const GoodsItem& item : *items) {
            if (item.id.empty() || (item.name.empty() && item.shop.empty()))
                continue;
            names.try_emplace(text::gbk_to_utf8(item.id), GoodsNames{text::gbk_to_utf8(item.name),
                                                                     text::gbk_to_utf8(item.shop)});
        }
    }
}

// Every saved board that can be read, with its name (UTF-8); the others are
// passed over, as a reader of names has nothing to say of them.
void for_each_saved_board(const history::Store& store,
                          const std::function<void(const std::string&, const Board&)>& visit) {
    const auto boards = store.board_names();
    if (!boards)
        return;
    for (const std::string& name : boards.value()) {
        const auto saved = store.load_board(name);
        if (!saved)
            continue;
        if (const auto board = board_from_text(saved.value().definition))
            visit(name, *board);
    }
}

}  // namespace

NamesById goods_names(const Board& board) {
    NamesById names;
    add_names(board, names);
    return names;
}

ListingNamesByBoard listing_names_by_board(const Board& board) {
    return {{text::gbk_to_utf8(board.name), listing_names(board)}};
}

ListingNamesByBoard listing_names_by_board(const history::Store& store) {
    ListingNamesByBoard names;
    for_each_saved_board(store, [&](const std::string& name, const Board& board) {
        names[name] = listing_names(board);
    });
    return names;
}

NamesById goods_names(const history::Store& store) {
    NamesById names;
    for_each_saved_board(store,
                         [&](const std::string&, const Board& board) { add_names(board, names); });
    return names;
}

}  // namespace board
