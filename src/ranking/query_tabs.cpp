#include "ranking/query_tabs.h"

namespace ranking {

const QueryTab& query_tab(QueryKind kind) {
    static constexpr QueryTab kKeyword{"按钮关键词排名搜索", "编辑框2", nullptr, nullptr,
                                       "编辑框5"};
    static constexpr QueryTab kCategory{"按钮类目排名搜索", "编辑框12", "标签11", "标签12",
                                        "编辑框13"};
    static constexpr QueryTab kIshopping{"按钮爱逛街查询", "编辑框16", "标签19", "标签16",
                                         "编辑框17"};
    static constexpr QueryTab kNewGoods{"按钮新品查询", "编辑框18", "标签26", "标签24", "编辑框19"};
    switch (kind) {
        case QueryKind::keyword:
            return kKeyword;
        case QueryKind::category:
            return kCategory;
        case QueryKind::ishopping:
            return kIshopping;
        case QueryKind::new_goods:
            break;
    }
    return kNewGoods;
}

}  // namespace ranking
