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

// Whether a typed goods input is a goods link: it holds the domain word (the
// hosts' domain_word, GBK) in any letter case. An empty word marks nothing.
bool is_goods_link(std::string_view input, std::string_view domain_word);

// The input as typed (less surrounding spaces) when it is a goods link,
// otherwise the goods page of that Goods ID.
std::string goods_page_url(std::string_view input, const net::Hosts& hosts);

// The three fields of a goods page (GBK text); each empty when its markers are missing.
GoodsInfo parse_goods_page(std::string_view page);

// Fetches the goods page named by `input` (GBK); empty fields when that fails.
GoodsInfo fetch_goods_info(std::string_view input, const net::Hosts& hosts);

}  // namespace ranking
