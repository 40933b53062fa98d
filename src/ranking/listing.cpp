#include "ranking/listing.h"

#include "net/remote_addresses.h"

namespace ranking {

namespace {

struct SortNames {
    std::string_view value;
    std::string_view name;
};

constexpr std::array<SortNames, 5> kSortNames = {{{"default", "default"},
                                                  {"_sales", "sales"},
                                                  {"_credit", "credit"},
                                                  {"price", "price-asc"},
                                                  {"_price", "price-desc"}}};

const SortNames& names_of(Sort sort) {
    return kSortNames[static_cast<std::size_t>(sort)];
}

}  // namespace

std::string_view sort_value(Sort sort) {
    return names_of(sort).value;
}

std::string_view sort_name(Sort sort) {
    return names_of(sort).name;
}

std::optional<Sort> sort_from_name(std::string_view name) {
    for (Sort sort : kAllSorts) {
        if (sort_name(sort) == name)
            return sort;
    }
    return std::nullopt;
}

std::optional<Sort> chosen_sort(const SortChoice& checked) {
    for (std::size_t i = 0; i < checked.size(); ++i) {
        if (checked[i])
            return kAllSorts[i];
    }
    return std::nullopt;
}

std::string listing_page_url(const net::Hosts& hosts, const Listing& listing, int page) {
    switch (listing.kind) {
        case QueryKind::keyword: {
            const std::string_view sort = listing.sort ? sort_value(*listing.sort) : "";
            return net::keyword_listing_url(hosts, listing.key, page, sort);
        }
        case QueryKind::category:
            return net::category_listing_url(hosts, listing.key, page);
        case QueryKind::ishopping:
            return net::tab_listing_url(hosts, listing.key, page);
        case QueryKind::new_goods:
            break;
    }
    return net::new_goods_listing_url(hosts, page);
}

std::string_view listing_name(QueryKind kind) {
    switch (kind) {
        case QueryKind::keyword:
            return "keyword";
        case QueryKind::category:
            return "category";
        case QueryKind::ishopping:
            return "tab";
        case QueryKind::new_goods:
            break;
    }
    return "new";
}

}  // namespace ranking
