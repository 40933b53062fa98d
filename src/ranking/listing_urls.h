#pragma once
// Where each kind of ranking query reads its listing: one URL per page (1 or
// 2) of 500 entries.
#include <array>
#include <string>
#include <string_view>

#include "net/hosts.h"

namespace ranking {

// Checked state of the keyword tab's sort buttons, in the order 综合, 销量,
// 评分, 价格低, 价格高.
using SortChoice = std::array<bool, 5>;

// "default", "_sales", "_credit", "price" or "_price" for the first checked
// button; empty when none is checked.
std::string sort_value(const SortChoice& checked);

std::string keyword_listing_url(const net::Hosts& hosts, std::string_view encoded_keyword, int page,
                                std::string_view sort);
std::string category_listing_url(const net::Hosts& hosts, std::string_view category_id, int page);
std::string ishopping_listing_url(const net::Hosts& hosts, std::string_view tab_id, int page);
std::string new_goods_listing_url(const net::Hosts& hosts, int page);

}  // namespace ranking
