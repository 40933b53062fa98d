#pragma once
// Goods identification: what the user typed (a goods link or a bare Goods ID)
// becomes a goods-page URL, and the page gives the id, goods name and shop name.
#include <string>
#include <string_view>

#include "net/hosts.h"

namespace ranking {

struct GoodsInfo {
    std::string goods_id;
    std::string goods_name;
    std::string shop_name;
};

// The input as typed (less surrounding spaces) when it contains the domain
// word in any letter case, otherwise the goods page of that Goods ID.
std::string goods_page_url(std::string_view input, const net::Hosts& hosts);

// The three fields of a goods page (GBK text); each empty when its markers are missing.
GoodsInfo parse_goods_page(std::string_view page);

// Fetches the goods page named by `input` (GBK); empty fields when that fails.
GoodsInfo fetch_goods_info(std::string_view input, const net::Hosts& hosts);

}  // namespace ranking
