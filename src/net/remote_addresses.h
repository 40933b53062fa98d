#pragma once
// Every remote address the program asks for, in one place: the hosts come
// from settings, the paths and queries are fixed by the marketplace and the
// vendor info server. Ids and keywords are percent-encoded here, the same way
// wherever they appear.
#include <string>
#include <string_view>

#include "net/hosts.h"

namespace net {

// "http://" + host + path.
std::string http_url(std::string_view host, std::string_view path);

// The goods page of a Goods ID (as typed, less surrounding spaces).
std::string goods_page_url(const Hosts& hosts, std::string_view goods_id);

// Listings, one URL per page (1 or 2) of 500 entries. The keyword is GBK.
std::string keyword_listing_url(const Hosts& hosts, std::string_view gbk_keyword, int page,
                                std::string_view sort_value);
std::string category_listing_url(const Hosts& hosts, std::string_view category_id, int page);
std::string tab_listing_url(const Hosts& hosts, std::string_view tab_id, int page);
std::string new_goods_listing_url(const Hosts& hosts, int page);

// The marketplace's catalogue: the children of a level-1 category (level 2)
// and of a level-2 category (level 3); note the different parameter order.
std::string level2_groups_path(std::string_view level1_id);
std::string level3_groups_path(std::string_view level2_id);
std::string tablist_path();

// The vendor info server: the level-1 category page, the page with the
// announcement and the version record, and the page 更多工具 shows (written
// without a scheme, as the browser box takes it).
std::string level1_page_path();
std::string announcement_url(const Hosts& hosts);
std::string vendor_tools_page(std::string_view vendor_host);

// The keyword as the search query carries it: UTF-8, percent-encoded.
std::string encode_keyword(std::string_view gbk_keyword);
// An id as one path segment or query value.
std::string encode_id(std::string_view id);

}  // namespace net
