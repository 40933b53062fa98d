#pragma once
// The controls each ranking tab's query works with, by control name.
#include <array>

#include "ranking/query_kind.h"

namespace ranking {

struct QueryTab {
    const char* button;      // the tab's "查询" button
    const char* input;       // link-or-Goods-ID input
    const char* goods_name;  // label showing the goods name (nullptr: not shown)
    const char* shop_name;   // label showing the shop name (nullptr: not shown)
    const char* result_box;  // multi-line box the results go to
};

const QueryTab& query_tab(QueryKind kind);

// All four query buttons, in tab order.
inline constexpr std::array<QueryKind, 4> kAllKinds = {QueryKind::keyword, QueryKind::category,
                                                       QueryKind::ishopping, QueryKind::new_goods};

// The keyword tab's sort buttons, in the order their checked state is tested.
inline constexpr std::array<const char*, 5> kSortButtons = {
    "单选框综合", "单选框销量", "单选框评分", "单选框价格低", "单选框价格高"};

}  // namespace ranking
