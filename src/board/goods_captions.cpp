#include "board/goods_captions.h"

#include "text/codepage.h"

namespace board {

namespace {

bool same_goods(const GoodsItem& a, const GoodsItem& b) {
    return (!a.id.empty() && a.id == b.id) || (!a.link.empty() && a.link == b.link);
}

const GoodsItem* find_same(const Board& board, const GoodsItem& item) {
    for (const auto* list : {&board.own, &board.competitors}) {
        for (const GoodsItem& g : *list) {
            if (same_goods(g, item))
                return &g;
        }
    }
    return nullptr;
}

}  // namespace

Board with_known_names(Board typed, const Board& known) {
    for (auto* list : {&typed.own, &typed.competitors}) {
        for (GoodsItem& item : *list) {
            const GoodsItem* k = find_same(known, item);
            if (k == nullptr || !item.name.empty())
                continue;
            item.name = k->name;
            item.shop = k->shop;
        }
    }
    return typed;
}

bool take_names(Board& board, const std::vector<ConfirmedGoods>& goods) {
    bool changed = false;
    for (auto* list : {&board.own, &board.competitors}) {
        for (GoodsItem& item : *list) {
            for (const ConfirmedGoods& g : goods) {
                const bool same = (!item.link.empty() && item.link == g.item.link) ||
                                  (!item.id.empty() && item.id == g.item.id);
                if (g.failure || !same || g.item.name.empty())
                    continue;
                const GoodsItem named{g.item.id, item.link, g.item.name, g.item.shop};
                changed = changed || named != item;
                item = named;
            }
        }
    }
    return changed;
}

std::string goods_caption(const GoodsItem& goods) {
    if (goods.name.empty())
        return goods.id.empty() ? goods.link : goods.id;
    std::string caption = text::gbk_to_utf8(goods.name);
    if (!goods.shop.empty())
        caption += "（" + text::gbk_to_utf8(goods.shop) + "）";
    return caption;
}

std::map<std::string, std::string> names_by_id(const Board& board) {
    std::map<std::string, std::string> names;
    for (const auto* list : {&board.own, &board.competitors}) {
        for (const GoodsItem& g : *list) {
            if (!g.id.empty() && !g.name.empty())
                names[g.id] = goods_caption(g);
        }
    }
    return names;
}

NoticeNames notice_names(const Board& board) {
    return {listing_names(board), names_by_id(board)};
}

}  // namespace board
