#include "ranking/query_kind.h"

#include "text/codepage.h"

namespace ranking {

const std::string& kind_tag(QueryKind kind) {
    switch (kind) {
        case QueryKind::keyword:
            return GBK("关键词");
        case QueryKind::category:
            return GBK("类目");
        case QueryKind::ishopping:
            return GBK("爱逛街");
        case QueryKind::new_goods:
            break;
    }
    return GBK("新品");
}

}  // namespace ranking
