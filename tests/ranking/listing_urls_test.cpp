#include "ranking/listing_urls.h"

#include <gtest/gtest.h>

namespace {

net::Hosts test_hosts() {
    net::Hosts h;
    h.goods_page = "goods.test:81";
    h.search_api = "search.test:82";
    h.operations_api = "ops.test:83";
    h.vendor_info = "vendor.test";
    h.domain_word = "shop";
    return h;
}

TEST(ListingUrls, KeywordSearchPageOneAndTwo) {
    EXPECT_EQ(ranking::keyword_listing_url(test_hosts(), "a%20b", 1, "default"),
              "http://search.test:82/search?q=a%20b&requery=0&page=1&size=500&sort=default");
    EXPECT_EQ(ranking::keyword_listing_url(test_hosts(), "x", 2, "_sales"),
              "http://search.test:82/search?q=x&requery=0&page=2&size=500&sort=_sales");
}

TEST(ListingUrls, EmptyKeywordAndNoSortKeepEveryKey) {
    EXPECT_EQ(ranking::keyword_listing_url(test_hosts(), "", 1, ""),
              "http://search.test:82/search?q=&requery=0&page=1&size=500&sort=");
}

TEST(ListingUrls, CategoryPageTravelsAsOptType) {
    EXPECT_EQ(ranking::category_listing_url(test_hosts(), "3012", 1),
              "http://ops.test:83/operation/3012/groups?offset=0&opt_type=1&size=500"
              "&sort_type=DEFAULT&qmxuid=0");
    EXPECT_EQ(ranking::category_listing_url(test_hosts(), "3012", 2),
              "http://ops.test:83/operation/3012/groups?offset=0&opt_type=2&size=500"
              "&sort_type=DEFAULT&qmxuid=0");
}

TEST(ListingUrls, IshoppingEndsWithEmptyQmxuid) {
    EXPECT_EQ(ranking::ishopping_listing_url(test_hosts(), "77", 2),
              "http://ops.test:83/ishopping/goods?tab_id=77&page=2&size=500&qmxuid=");
}

TEST(ListingUrls, NewGoodsUsesTheSearchHost) {
    EXPECT_EQ(ranking::new_goods_listing_url(test_hosts(), 1),
              "http://search.test:82/v5/newlist?page=1&size=500&list_id=0699021960&ver=0&qmxuid=");
}

struct SortCase {
    ranking::SortChoice checked;
    std::string value;
};

class SortValue : public testing::TestWithParam<SortCase> {};

TEST_P(SortValue, FirstCheckedButtonWins) {
    EXPECT_EQ(ranking::sort_value(GetParam().checked), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, SortValue,
                         testing::Values(SortCase{{true, false, false, false, false}, "default"},
                                         SortCase{{false, true, false, false, false}, "_sales"},
                                         SortCase{{false, false, true, false, false}, "_credit"},
                                         SortCase{{false, false, false, true, false}, "price"},
                                         SortCase{{false, false, false, false, true}, "_price"},
                                         SortCase{{false, false, false, false, false}, ""},
                                         SortCase{{false, true, false, true, false}, "_sales"}));

}  // namespace
