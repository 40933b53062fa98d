#pragma once
// The click handlers of the four "查询" buttons. Each returns only when its
// whole query (every page, keyword and category level) has finished.
#include "ranking/query_state.h"
#include "ranking/query_view.h"

namespace ranking {

void keyword_query(QueryView& view, QueryState& state);    // 按钮关键词排名搜索
void category_query(QueryView& view, QueryState& state);   // 按钮类目排名搜索
void ishopping_query(QueryView& view, QueryState& state);  // 按钮爱逛街查询
void new_goods_query(QueryView& view, QueryState& state);  // 按钮新品查询

}  // namespace ranking
