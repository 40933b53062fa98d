#pragma once
// The click handlers of the four "查询" buttons. Each returns only when its
// whole query (every page, keyword and category level) has finished.
#include "ui/program_data.h"

namespace ranking {

void keyword_query(ui::Context& ctx);    // 按钮关键词排名搜索
void category_query(ui::Context& ctx);   // 按钮类目排名搜索
void ishopping_query(ui::Context& ctx);  // 按钮爱逛街查询
void new_goods_query(ui::Context& ctx);  // 按钮新品查询

}  // namespace ranking
