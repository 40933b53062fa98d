#include "ranking/listing.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

using ranking::Listing;
using ranking::QueryKind;
using ranking::Sort;

const net::Hosts kHosts{"goods.test", "search.test", "ops.test", "vendor.test", "shop"};

struct UrlCase {
    const char* name;
    Listing listing;
    int page;
    std::string url;
};

// Rows show as their name in test output.
void PrintTo(const UrlCase& c, std::ostream* os) {
    *os << c.name;
}

class ListingPageUrl : public testing::TestWithParam<UrlCase> {};

TEST_P(ListingPageUrl, NamesThePageOfItsKind) {
    EXPECT_EQ(ranking::listing_page_url(kHosts, GetParam().listing, GetParam().page),
              GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ListingPageUrl,
    testing::Values(
        UrlCase{"KeywordUnderASort",
                {QueryKind::keyword, GBK("辣条"), Sort::price_high},
                2,
                "http://search.test/search?q=%E8%BE%A3%E6%9D%A1&requery=0&page=2&size=500"
                "&sort=_price"},
        UrlCase{"KeywordWithoutSort",
                {QueryKind::keyword, "k", std::nullopt},
                1,
                "http://search.test/search?q=k&requery=0&page=1&size=500&sort="},
        UrlCase{"Category",
                {QueryKind::category, "14", std::nullopt},
                1,
                "http://ops.test/operation/14/groups?offset=0&opt_type=1&size=500"
                "&sort_type=DEFAULT&qmxuid=0"},
        UrlCase{"Tab",
                {QueryKind::ishopping, "21", std::nullopt},
                2,
                "http://ops.test/ishopping/goods?tab_id=21&page=2&size=500&qmxuid="},
        UrlCase{"NewGoodsIgnoresTheKey",
                {QueryKind::new_goods, "x", Sort::sales},
                2,
                "http://search.test/v5/newlist?page=2&size=500&list_id=0699021960&ver=0"
                "&qmxuid="}),
    [](const auto& info) { return std::string(info.param.name); });

struct SortCase {
    ranking::SortChoice checked;
    std::optional<Sort> chosen;
};

class ChosenSort : public testing::TestWithParam<SortCase> {};

TEST_P(ChosenSort, FirstCheckedButtonWins) {
    EXPECT_EQ(ranking::chosen_sort(GetParam().checked), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ChosenSort,
    testing::Values(SortCase{{true, false, false, false, false}, Sort::general},
                    SortCase{{false, false, true, false, false}, Sort::credit},
                    SortCase{{false, false, false, false, true}, Sort::price_high},
                    SortCase{{false, true, false, true, false}, Sort::sales},
                    SortCase{{false, false, false, false, false}, std::nullopt}));

TEST(SortNames, EverySortHasItsValueAndARoundTrippingName) {
    const char* values[] = {"default", "_sales", "_credit", "price", "_price"};
    for (std::size_t i = 0; i < ranking::kAllSorts.size(); ++i) {
        const Sort sort = ranking::kAllSorts[i];
        EXPECT_EQ(ranking::sort_value(sort), values[i]);
        EXPECT_EQ(ranking::sort_from_name(ranking::sort_name(sort)), sort);
    }
    EXPECT_EQ(ranking::sort_from_name("_sales"), std::nullopt);
}

}  // namespace
