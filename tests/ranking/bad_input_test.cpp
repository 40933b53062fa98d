// Queries given hostile input, a listing server that is down, or a window
// closed while they wait.
#include "query_fixture.h"

namespace {

using namespace ranking_test;

class BadInput : public QueryFixture {};

TEST_F(BadInput, TenThousandCharacterGoodsInput) {
    serve({"2"}, {"3"});
    std::string input;
    for (int i = 0; i < 3334; ++i)
        input += "12条";  // 10002 characters
    fill_in(QueryKind::keyword, input);
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：k  前1000名没有找到\r\n\r\n");
    ASSERT_EQ(server.targets().size(), 3u);
    EXPECT_GT(server.targets().front().size(), 10000u);
    EXPECT_TRUE(view.all_buttons_enabled());
}

TEST_F(BadInput, EmojiAndControlCharactersInKeywordsAreEncoded) {
    serve({"2"}, {"3"});
    view.type_keywords("辣\xF0\x9F\x98\x80条\x01\t");
    click(QueryKind::keyword);
    const Ids targets = server.listing_targets();
    ASSERT_EQ(targets.size(), 2u);
    // The emoji has no GBK form and became "?" when typed.
    EXPECT_EQ(targets[0], search_target("%E8%BE%A3%3F%E6%9D%A1%01%09", 1, "default"));
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：辣?条\x01\t  前1000名没有找到\r\n\r\n");
}

TEST_F(BadInput, ListingServerDownFailsEveryRunAsUnreachable) {
    const std::string down = "127.0.0.1:" + std::to_string(test::refused_port());
    net::Hosts split = server.hosts();
    split.search_api = down;
    state.hosts = split;
    view.type_keywords("a\nb\nc");
    click(QueryKind::keyword);
    EXPECT_EQ(
        view.result(QueryKind::keyword),
        "关键词：a  查询失败（无法连接服务器）\r\n\r\n关键词：b  查询失败（无法连接服务器）\r\n\r\n"
        "关键词：c  查询失败（无法连接服务器）\r\n\r\n");
    EXPECT_TRUE(view.all_buttons_enabled());
    EXPECT_EQ(view.caption(QueryKind::keyword), "查询");
}

TEST_F(BadInput, ClosingTheWindowDuringAQueryStopsIt) {
    serve({"2"}, {"3"});
    view.type_keywords("a\nb\nc\nd\ne");
    std::string box_at_close;
    clock.once_when([&] { return !server.listing_targets().empty(); },
                    [&] {
                        box_at_close = view.result(QueryKind::keyword);
                        view.close();
                    });
    click(QueryKind::keyword);
    // Nothing was asked for, written or restored once the window had gone.
    EXPECT_EQ(server.listing_targets().size(), 1u);
    EXPECT_EQ(view.result(QueryKind::keyword), box_at_close);
    EXPECT_EQ(clock.pauses(), (Pauses{20, 200}));
    EXPECT_FALSE(view.button_enabled(QueryKind::keyword));
}

TEST_F(BadInput, ClosingTheWindowAtTheLastPauseLeavesTheButtonsAlone) {
    serve({"2"}, {"3"});
    view.type_keywords("a");
    clock.once_when([&] { return server.listing_targets().size() == 2; }, [&] { view.close(); });
    click(QueryKind::keyword);
    EXPECT_EQ(clock.pauses(), (Pauses{20, 200, 200, 200}));
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：a  查询中…");
    EXPECT_FALSE(view.button_enabled(QueryKind::new_goods));
}

}  // namespace
