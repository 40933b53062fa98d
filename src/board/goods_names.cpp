#include "board/goods_names.h"

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
    const auto boards = store.board_names();
    if (!boards)
        return names;
    for (const std::string& name : boards.value()) {
        const auto saved = store.load_board(name);
        if (!saved)
            continue;
        if (const auto board = board_from_text(saved.value().definition))
            names[name] = listing_names(*board);
    }
    return names;
}

NamesById goods_names(const history::Store& store) {
    NamesById names;
    const auto boards = store.board_names();
    if (!boards)
        return names;
    for (const std::string& name : boards.value()) {
        const auto saved = store.load_board(name);
        if (!saved)
            continue;
        if (const auto board = board_from_text(saved.value().definition))
            add_names(*board, names);
    }
    return names;
}

}  // namespace board
