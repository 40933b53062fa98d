#include "net/remote_addresses.h"

#include <initializer_list>

#include "net/percent_encode.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace net {

namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts)
        out += p;
    return out;
}

}  // namespace

std::string encode_keyword(std::string_view gbk_keyword) {
    return percent_encode(text::gbk_to_utf8(gbk_keyword), KeptBytes::keyword);
}

std::string encode_id(std::string_view id) {
    return percent_encode(text::as_text(id), KeptBytes::path_segment);
}

std::string http_url(std::string_view host, std::string_view path) {
    return concat({"http://", host, path});
}

std::string goods_page_url(const Hosts& hosts, std::string_view goods_id) {
    return concat({"http://", hosts.goods_page, "/goods2.html?goods_id=", text::trim(goods_id)});
}

std::string keyword_listing_url(const Hosts& hosts, std::string_view gbk_keyword, int page,
                                std::string_view sort_value) {
    return concat({"http://", hosts.search_api, "/search?q=", encode_keyword(gbk_keyword),
                   "&requery=0&page=", std::to_string(page), "&size=500&sort=", sort_value});
}

std::string category_listing_url(const Hosts& hosts, std::string_view category_id, int page) {
    // The page number travels as opt_type; the offset stays 0 on both pages.
    return concat({"http://", hosts.operations_api, "/operation/", encode_id(category_id),
                   "/groups?offset=0&opt_type=", std::to_string(page),
                   "&size=500&sort_type=DEFAULT&qmxuid=0"});
}

std::string tab_listing_url(const Hosts& hosts, std::string_view tab_id, int page) {
    return concat({"http://", hosts.operations_api, "/ishopping/goods?tab_id=", encode_id(tab_id),
                   "&page=", std::to_string(page), "&size=500&qmxuid="});
}

std::string new_goods_listing_url(const Hosts& hosts, int page) {
    return concat({"http://", hosts.search_api, "/v5/newlist?page=", std::to_string(page),
                   "&size=500&list_id=0699021960&ver=0&qmxuid="});
}

std::string level2_groups_path(std::string_view level1_id) {
    return "/operation/" + encode_id(level1_id) +
           "/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0";
}

std::string level3_groups_path(std::string_view level2_id) {
    return "/operation/" + encode_id(level2_id) +
           "/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0";
}

std::string tablist_path() {
    return "/ishopping/tablist?qmxuid=";
}

std::string level1_page_path() {
    return "/info.asp?id=70";
}

std::string announcement_url(const Hosts& hosts) {
    return http_url(hosts.vendor_info, "/info.asp?id=71");
}

std::string vendor_tools_page(std::string_view vendor_host) {
    return std::string(vendor_host) + "/1.html";
}

}  // namespace net
