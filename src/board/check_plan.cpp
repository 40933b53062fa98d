#include "board/check_plan.h"

#include <algorithm>
#include <set>

namespace board {

namespace {

bool same_listing(const ranking::Listing& a, const ranking::Listing& b) {
    return a.kind == b.kind && a.key == b.key && a.sort == b.sort;
}

void add_once(std::vector<ranking::Listing>& listings, ranking::Listing listing) {
    const bool known = std::any_of(listings.begin(), listings.end(),
                                   [&](const auto& other) { return same_listing(other, listing); });
    if (!known)
        listings.push_back(std::move(listing));
}

}  // namespace

CheckPlan plan_checks(const Board& board) {
    using ranking::QueryKind;
    CheckPlan plan{goods_ids(board), {}};
    for (const std::string& keyword : board.keywords) {
        for (ranking::Sort sort : board.sorts)
            add_once(plan.listings, {QueryKind::keyword, keyword, sort});
    }
    for (const std::string& id : board.category_ids)
        add_once(plan.listings, {QueryKind::category, id, std::nullopt});
    if (board.tab_id)
        add_once(plan.listings, {QueryKind::ishopping, *board.tab_id, std::nullopt});
    if (board.new_goods)
        add_once(plan.listings, {QueryKind::new_goods, {}, std::nullopt});
    return plan;
}

CheckPlan plan_of(const CheckPlan& previous, const std::vector<std::size_t>& failed) {
    const std::set<std::size_t> chosen(failed.begin(), failed.end());
    CheckPlan plan{previous.goods_ids, {}};
    for (std::size_t index : chosen) {
        if (index < previous.listings.size())
            plan.listings.push_back(previous.listings[index]);
    }
    return plan;
}

}  // namespace board
