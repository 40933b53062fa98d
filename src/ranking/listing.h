#pragma once
// What one run reads: a listing (a keyword under a sort order, a category, a
// 爱逛街 tab, or the new goods), one URL per page (1 or 2) of 500 entries.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "net/hosts.h"
#include "ranking/query_kind.h"

namespace ranking {

// The keyword search's five sort orders, in the order of the keyword page's
// sort buttons.
enum class Sort { general, sales, credit, price_low, price_high };
inline constexpr std::array<Sort, 5> kAllSorts = {Sort::general, Sort::sales, Sort::credit,
                                                  Sort::price_low, Sort::price_high};

// "default", "_sales", "_credit", "price" or "_price": what the search asks for.
std::string_view sort_value(Sort sort);
// "default", "sales", "credit", "price-asc" or "price-desc": the name users
// and stored checks give it.
std::string_view sort_name(Sort sort);
std::optional<Sort> sort_from_name(std::string_view name);

// Checked state of the keyword page's sort buttons, in kAllSorts order.
using SortChoice = std::array<bool, 5>;
// The first checked button's sort; nullopt when none is checked.
std::optional<Sort> chosen_sort(const SortChoice& checked);

struct Listing {
    QueryKind kind = QueryKind::keyword;
    std::string key;  // the keyword (GBK), the category id or the tab id; empty for new goods
    std::optional<Sort> sort;  // keyword listings; nullopt sends an empty sort value
};

std::string listing_page_url(const net::Hosts& hosts, const Listing& listing, int page);

// "keyword", "category", "tab" or "new".
std::string_view listing_name(QueryKind kind);

}  // namespace ranking
