#include "board/goods_confirm.h"

#include <algorithm>

#include "ranking/goods_info.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace board {

namespace {

const std::string& typed_text(const GoodsItem& item) {
    return item.link.empty() ? item.id : item.link;
}

}  // namespace

ConfirmedGoods confirm_from_page(const GoodsItem& typed, bool own, const net::PageResult& page) {
    ConfirmedGoods out{typed, own, std::nullopt};
    if (page.failure == net::PageFailure::http_status &&
        (page.status == 404 || page.status == 410)) {
        out.failure = ranking::RunOutcome::failed(ranking::FailReason::goods_gone);
        return out;
    }
    if (page.failure != net::PageFailure::none || page.body.empty()) {
        // The page did not arrive: nothing is known about the goods. A typed
        // id is still searched for (the listings may well answer); a link
        // without its page has no id to search for.
        if (typed.id.empty())
            out.failure = ranking::page_failure(page, 0).value_or(
                ranking::RunOutcome::failed(ranking::FailReason::connect));
        return out;
    }
    const ranking::GoodsInfo info = ranking::parse_goods_page(text::utf8_to_gbk(page.body));
    const std::string id = text::trim(info.goods_id);
    if (id.empty() || (!typed.id.empty() && typed.link.empty() && id != typed.id)) {
        out.failure = ranking::RunOutcome::failed(ranking::FailReason::goods_gone);
        return out;
    }
    out.item.id = id;
    out.item.name = info.goods_name;
    out.item.shop = info.shop_name;
    return out;
}

std::vector<ConfirmedGoods> confirm_goods(const Board& board, const net::Hosts& hosts,
                                          const GoodsPageFetch& fetch, net::AbortSignal& abort,
                                          const std::vector<std::string>& known) {
    std::vector<ConfirmedGoods> out;
    for (const auto* list : {&board.own, &board.competitors}) {
        for (const GoodsItem& item : *list) {
            if (!item.id.empty() && std::find(known.begin(), known.end(), item.id) != known.end()) {
                out.push_back({item, list == &board.own, std::nullopt});
                continue;
            }
            const std::string url = ranking::goods_page_url(typed_text(item), hosts);
            out.push_back(confirm_from_page(item, list == &board.own, fetch(url, abort)));
        }
    }
    return out;
}

Board with_confirmed(Board board, const std::vector<ConfirmedGoods>& goods) {
    std::size_t i = 0;
    for (auto* list : {&board.own, &board.competitors}) {
        for (GoodsItem& item : *list) {
            if (i < goods.size() && !goods[i].failure)
                item = goods[i].item;
            ++i;
        }
    }
    return board;
}

}  // namespace board
