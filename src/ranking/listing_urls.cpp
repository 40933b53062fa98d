#include "ranking/listing_urls.h"

namespace ranking {

namespace {

std::string page_text(int page) {
    return std::to_string(page);
}

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts)
        out += p;
    return out;
}

}  // namespace

std::string sort_value(const SortChoice& checked) {
    static constexpr std::array<std::string_view, 5> kValues = {"default", "_sales", "_credit",
                                                                "price", "_price"};
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (checked[i])
            return std::string(kValues[i]);
    }
    return {};
}

std::string keyword_listing_url(const net::Hosts& hosts, std::string_view encoded_keyword, int page,
                                std::string_view sort) {
    return concat({"http://", hosts.search_api, "/search?q=", encoded_keyword,
                   "&requery=0&page=", page_text(page), "&size=500&sort=", sort});
}

std::string category_listing_url(const net::Hosts& hosts, std::string_view category_id, int page) {
    // The page number travels as opt_type; the offset stays 0 on both pages.
    return concat({"http://", hosts.operations_api, "/operation/", category_id,
                   "/groups?offset=0&opt_type=", page_text(page),
                   "&size=500&sort_type=DEFAULT&qmxuid=0"});
}

std::string ishopping_listing_url(const net::Hosts& hosts, std::string_view tab_id, int page) {
    return concat({"http://", hosts.operations_api, "/ishopping/goods?tab_id=", tab_id,
                   "&page=", page_text(page), "&size=500&qmxuid="});
}

std::string new_goods_listing_url(const net::Hosts& hosts, int page) {
    return concat({"http://", hosts.search_api, "/v5/newlist?page=", page_text(page),
                   "&size=500&list_id=0699021960&ver=0&qmxuid="});
}

}  // namespace ranking
