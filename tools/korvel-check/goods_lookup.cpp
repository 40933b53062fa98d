#include "goods_lookup.h"

#include "ranking/goods_info.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace cli {

namespace {

// GBK in, GBK out; empty when the goods page gave no id.
std::string id_from_goods_page(const std::string& link, const net::Hosts& hosts) {
    return text::trim(ranking::fetch_goods_info(link, hosts).goods_id);
}

std::vector<std::string> ids_of(const std::vector<GoodsInput>& inputs, const net::Hosts& hosts,
                                const LookupProgress& progress) {
    std::vector<std::string> ids;
    for (const GoodsInput& goods : inputs) {
        if (!goods.is_link) {
            ids.push_back(goods.typed);
            continue;
        }
        progress(goods.typed);
        ids.push_back(id_from_goods_page(text::utf8_to_gbk(goods.typed), hosts));
    }
    return ids;
}

}  // namespace

ResolvedIds resolve_inputs(const CheckPlan& plan, const net::Hosts& hosts,
                           const LookupProgress& progress) {
    return {ids_of(plan.own, hosts, progress), ids_of(plan.competitors, hosts, progress)};
}

}  // namespace cli
