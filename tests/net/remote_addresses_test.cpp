#include "net/remote_addresses.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

net::Hosts test_hosts() {
    return net::Hosts{"goods.test:81", "search.test:82", "ops.test:83", "vendor.test", "shop"};
}

struct AddressCase {
    const char* name;
    std::string url;
    std::string expected;
};

// Rows show as their name in test output.
void PrintTo(const AddressCase& c, std::ostream* os) {
    *os << c.name;
}

class RemoteAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(RemoteAddress, Is) {
    EXPECT_EQ(GetParam().url, GetParam().expected);
}

const net::Hosts h = test_hosts();

INSTANTIATE_TEST_SUITE_P(
    Table, RemoteAddress,
    testing::Values(
        AddressCase{"GoodsPageTrimsTheId", net::goods_page_url(h, " 4033138 "),
                    "http://goods.test:81/goods2.html?goods_id=4033138"},
        AddressCase{"KeywordPageOne", net::keyword_listing_url(h, GBK("辣条"), 1, "default"),
                    "http://search.test:82/search?q=%E8%BE%A3%E6%9D%A1&requery=0&page=1&size=500"
                    "&sort=default"},
        AddressCase{"EmptyKeywordAndSortKeepEveryKey", net::keyword_listing_url(h, "", 2, ""),
                    "http://search.test:82/search?q=&requery=0&page=2&size=500&sort="},
        AddressCase{"CategoryPageTravelsAsOptType", net::category_listing_url(h, "3012", 2),
                    "http://ops.test:83/operation/3012/groups?offset=0&opt_type=2&size=500"
                    "&sort_type=DEFAULT&qmxuid=0"},
        // An id cannot reach another path or break the request line.
        AddressCase{"CategoryIdIsOnePathSegment", net::category_listing_url(h, "../1 x?", 1),
                    "http://ops.test:83/operation/..%2F1%20x%3F/groups?offset=0&opt_type=1"
                    "&size=500&sort_type=DEFAULT&qmxuid=0"},
        AddressCase{"TabListingEndsWithEmptyQmxuid", net::tab_listing_url(h, "7&x=1", 2),
                    "http://ops.test:83/ishopping/goods?tab_id=7%26x%3D1&page=2&size=500&qmxuid="},
        AddressCase{"NewGoodsUsesTheSearchHost", net::new_goods_listing_url(h, 1),
                    "http://search.test:82/v5/newlist?page=1&size=500&list_id=0699021960&ver=0"
                    "&qmxuid="},
        AddressCase{"Level2GroupsEncodeTheIdLikeTheListing", net::level2_groups_path("1/2"),
                    "/operation/1%2F2/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT"
                    "&qmxuid=0"},
        AddressCase{"Level3GroupsPutOptTypeFirst", net::level3_groups_path("2301"),
                    "/operation/2301/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT"
                    "&qmxuid=0"},
        AddressCase{"Announcement", net::announcement_url(h), "http://vendor.test/info.asp?id=71"},
        AddressCase{"VendorToolsPageHasNoScheme", net::vendor_tools_page("vendor.test"),
                    "vendor.test/1.html"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
