// Queries given hostile input or a marketplace that misbehaves still end with
// their ordinary texts and the buttons back.
#include <gtest/gtest.h>

#include <QTcpServer>

#include "listing_body.h"
#include "listing_server.h"
#include "query_window.h"
#include "ranking/query_tabs.h"

namespace {

using ranking::QueryKind;
using ranking_test::ListingServer;
using ranking_test::QueryWindow;

void expect_buttons_back(const QueryWindow& window) {
    for (QueryKind kind : ranking::kAllKinds)
        EXPECT_TRUE(window.enabled(kind));
}

TEST(BadInput, TenThousandCharacterGoodsInput) {
    ListingServer server;
    server.set_goods_page(ranking_test::goods_page("1", "n", "s"));
    server.set_listing_page(1, listing_body::keyword_listing(listing_body::ids({"2"})));
    QueryWindow window(server.hosts());
    std::string input;
    while (input.size() < 10000)
        input += "12 条";
    window.type("编辑框2", input);
    window.type("编辑框3", "k");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"), "关键词：k  前1000名没有找到\r\n\r\n");
    expect_buttons_back(window);
}

TEST(BadInput, EmojiAndControlCharactersInKeywordsAreEncoded) {
    ListingServer server;
    server.set_goods_page(ranking_test::goods_page("1", "n", "s"));
    QueryWindow window(server.hosts());
    window.type("编辑框3", "辣\xF0\x9F\x98\x80条\x01\t");
    window.click(QueryKind::keyword);
    const auto targets = server.listing_targets();
    ASSERT_EQ(targets.size(), 2u);
    EXPECT_EQ(targets[0],
              "/search?q=%E8%BE%A3%3F%E6%9D%A1%1%9&requery=0&page=1&size=500&sort=default");
    EXPECT_EQ(window.text("编辑框5"), "关键词：辣?条\x01\t  前1000名没有找到\r\n\r\n");
}

struct BodyCase {
    std::string name;
    std::string body;
};

class BadListing : public testing::TestWithParam<BodyCase> {};

TEST_P(BadListing, EndsNotFoundAfterBothPages) {
    ListingServer server;
    server.set_goods_page(ranking_test::goods_page("1", "n", "s"));
    server.set_listing_page(1, GetParam().body);
    server.set_listing_page(2, GetParam().body);
    QueryWindow window(server.hosts());
    window.type("编辑框18", "1");
    window.click(QueryKind::new_goods);
    EXPECT_EQ(window.text("编辑框19"), "商品ID：1  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(server.listing_targets().size(), 2u);
    EXPECT_EQ(window.data().标签1, "0");
    expect_buttons_back(window);
}

std::string garbage() {
    std::string s;
    for (int i = 0; i < 5000; ++i)
        s += static_cast<char>((i * 7919 + 13) % 256);
    return s;
}

INSTANTIATE_TEST_SUITE_P(Table, BadListing,
                         testing::Values(BodyCase{"Empty", ""}, BodyCase{"Garbage", garbage()},
                                         BodyCase{"NulBeforeEntries",
                                                  std::string("x\0", 2) + R"({"goods_id":1,)"},
                                         BodyCase{"ErrorPage", "<html>502 Bad Gateway</html>"}),
                         [](const auto& info) { return info.param.name; });

// A port nothing listens on: take a free one and let it go again.
int closed_port() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

TEST(BadServer, ServerDownEveryRunEndsNotFound) {
    const std::string host = "127.0.0.1:" + std::to_string(closed_port());
    QueryWindow window(net::Hosts{host, host, host, host, "goods-link"});
    window.type("编辑框3", "a\nb\nc");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"),
              "关键词：a  前1000名没有找到\r\n\r\n关键词：b  前1000名没有找到\r\n\r\n"
              "关键词：c  前1000名没有找到\r\n\r\n");
    expect_buttons_back(window);
    EXPECT_EQ(window.caption(QueryKind::keyword), "查询");
}

TEST(WindowClose, ClosingDuringAQueryStopsIt) {
    ListingServer server;
    server.set_goods_page(ranking_test::goods_page("1", "n", "s"));
    server.set_listing_page(1, listing_body::keyword_listing(listing_body::ids({"2"})));
    server.set_listing_page(2, listing_body::keyword_listing(listing_body::ids({"3"})));
    QueryWindow window(server.hosts());
    window.type("编辑框3", "a\nb\nc\nd\ne");
    window.at_wait([&] { return !server.listing_targets().empty(); }, [&] { window.close(); });
    window.click(QueryKind::keyword);
    EXPECT_TRUE(window.pump().closing());
    // Nothing was asked for once the window had gone.
    EXPECT_EQ(server.listing_targets().size(), 1u);
    EXPECT_FALSE(window.window().isVisible());
}

}  // namespace
