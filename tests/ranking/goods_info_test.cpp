#include "ranking/goods_info.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

net::Hosts test_hosts() {
    net::Hosts h;
    h.goods_page = "goods.test:81";
    h.domain_word = "mall-shop";
    return h;
}

struct UrlCase {
    std::string input;
    std::string url;
};

class GoodsPageUrl : public testing::TestWithParam<UrlCase> {};

TEST_P(GoodsPageUrl, ResolvesLinkOrId) {
    EXPECT_EQ(ranking::goods_page_url(GetParam().input, test_hosts()), GetParam().url);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoodsPageUrl,
    testing::Values(UrlCase{"4033138", "http://goods.test:81/goods2.html?goods_id=4033138"},
                    UrlCase{"  4033138  ", "http://goods.test:81/goods2.html?goods_id=4033138"},
                    UrlCase{"", "http://goods.test:81/goods2.html?goods_id="},
                    UrlCase{" http://m.MALL-SHOP.test/goods2.html?goods_id=5 ",
                            "http://m.MALL-SHOP.test/goods2.html?goods_id=5"},
                    UrlCase{"http://other.test/x?id=5",
                            "http://goods.test:81/goods2.html?goods_id=http://other.test/x?id=5"}));

TEST(GoodsPageUrl, EmptyDomainWordMarksNoLink) {
    net::Hosts h = test_hosts();
    h.domain_word.clear();
    EXPECT_EQ(ranking::goods_page_url("5", h), "http://goods.test:81/goods2.html?goods_id=5");
}

TEST(ParseGoodsPage, TakesTheThreeFields) {
    const std::string page = GBK(
        R"(var pageData={"goodsID": 4033138,"goodsName":"麻辣条 大礼包","mallName":"辣味小店","x":1})");
    const ranking::GoodsInfo info = ranking::parse_goods_page(page);
    EXPECT_EQ(info.goods_id, " 4033138");
    EXPECT_EQ(info.goods_name, GBK("麻辣条 大礼包"));
    EXPECT_EQ(info.shop_name, GBK("辣味小店"));
}

TEST(ParseGoodsPage, MarkersIgnoreLetterCaseAndFirstOccurrenceWins) {
    const ranking::GoodsInfo info =
        ranking::parse_goods_page(R"({"GOODSID":12,"goodsid":13,"GoodsName":"a","MALLNAME":"b",})");
    EXPECT_EQ(info.goods_id, "12");
    EXPECT_EQ(info.goods_name, "a");
    EXPECT_EQ(info.shop_name, "b");
}

TEST(ParseGoodsPage, MissingMarkersGiveEmptyFields) {
    const ranking::GoodsInfo info = ranking::parse_goods_page("<html>not found</html>");
    EXPECT_EQ(info.goods_id, "");
    EXPECT_EQ(info.goods_name, "");
    EXPECT_EQ(info.shop_name, "");
    EXPECT_EQ(ranking::parse_goods_page(R"("goodsID":12)").goods_id, "");
}

}  // namespace
