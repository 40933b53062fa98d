// The four query buttons against a loopback marketplace whose answers each
// test writes.
#include "ranking/query_handlers.h"

#include <set>

#include "query_fixture.h"

namespace {

using namespace ranking_test;

class QueryHandlers : public QueryFixture {
  protected:
    // The stack frames of every pause of one query over `keywords` keywords.
    std::set<const void*> pause_frames(int keywords) {
        std::string list;
        for (int i = 0; i < keywords; ++i)
            list += "k" + std::to_string(i) + "\n";
        view.type_keywords(list);
        std::set<const void*> frames;
        clock.on_pause([&frames](int) { frames.insert(__builtin_frame_address(0)); });
        click(QueryKind::keyword);
        clock.on_pause({});
        return frames;
    }
};

TEST_F(QueryHandlers, KeywordFoundOnPageOneRewritesItsLine) {
    serve({"1", "2", kTarget});
    view.type_keywords("辣条");
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：辣条  第3名\r\n\r\n");
    EXPECT_EQ(server.listing_targets(), Ids{search_target("%E8%BE%A3%E6%9D%A1", 1, "default")});
    EXPECT_EQ(state.target_keyword, kTarget);
    EXPECT_EQ(state.query_kind, gbk("关键词"));
    EXPECT_EQ(state.row_count, "3");
    EXPECT_EQ(clock.pauses(), (Pauses{20, 200, 200}));
}

TEST_F(QueryHandlers, KeywordNotFoundAsksForPageTwoThenGivesUp) {
    serve({"1"}, {"2"});
    view.type_goods(QueryKind::keyword, kTarget);
    view.type_keywords("a b\nc");
    view.check_sort(ranking::Sort::credit);
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword),
              "关键词：a b  前1000名没有找到\r\n\r\n关键词：c  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(server.targets().front(), "/goods2.html?goods_id=4033138");
    EXPECT_EQ(server.listing_targets(),
              (Ids{search_target("a%20b", 1, "_credit"), search_target("a%20b", 2, "_credit"),
                   search_target("c", 1, "_credit"), search_target("c", 2, "_credit")}));
    EXPECT_EQ(state.last_response, listing_body::keyword_listing(listing_body::ids({"2"})));
    EXPECT_EQ(state.row_count, "2");
    EXPECT_EQ(clock.pauses(), (Pauses{20, 200, 200, 200, 200, 10, 20, 200, 200, 200, 200}));
}

TEST_F(QueryHandlers, ButtonsAreLockedDuringTheQueryAndRestoredAfter) {
    serve({"1"}, {"2"});
    view.type_keywords("a\nb");
    std::vector<bool> enabled_during;
    std::string caption_during;
    clock.once_when([&] { return !server.listing_targets().empty(); },
                    [&] {
                        for (QueryKind kind : ranking::kAllKinds)
                            enabled_during.push_back(view.button_enabled(kind));
                        caption_during = view.caption(QueryKind::keyword);
                        click(QueryKind::keyword);  // a second click
                        click(QueryKind::new_goods);
                    });
    click(QueryKind::keyword);
    EXPECT_EQ(enabled_during, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(caption_during, "查询中…");
    EXPECT_TRUE(view.all_buttons_enabled());
    EXPECT_EQ(view.caption(QueryKind::keyword), "查询");
    EXPECT_EQ(view.caption(QueryKind::new_goods), "查询");
    EXPECT_EQ(server.targets().size(), 5u);  // one goods page, two pages for each keyword
    EXPECT_EQ(view.result(QueryKind::new_goods), "");
}

TEST_F(QueryHandlers, SortChangedDuringTheQueryAppliesFromTheNextPage) {
    serve({"1"}, {"2"});
    view.type_keywords("k");
    clock.once_when([&] { return server.listing_targets().size() == 1; },
                    [&] { view.check_sort(ranking::Sort::price_low); });
    click(QueryKind::keyword);
    EXPECT_EQ(server.listing_targets(),
              (Ids{search_target("k", 1, "default"), search_target("k", 2, "price")}));
}

TEST_F(QueryHandlers, ProgressLineShortensAfterThePageIsRead) {
    serve({"1"}, {"2"});
    view.type_keywords("k");
    std::vector<std::string> seen;
    clock.on_pause([&](int) { seen.push_back(view.result(QueryKind::keyword)); });
    click(QueryKind::keyword);
    EXPECT_EQ(seen, (std::vector<std::string>{"", "关键词：k  查询中……", "关键词：k  查询中……",
                                              "关键词：k  查询中…", "关键词：k  查询中…"}));
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：k  前1000名没有找到\r\n\r\n");
}

TEST_F(QueryHandlers, EmptyKeywordListRunsOnceWithAnEmptyKeyword) {
    serve({"1"}, {"2"});
    for (const char* list : {"", "\n", "\n\n"}) {
        const auto before = server.listing_targets().size();
        view.type_keywords(list);
        click(QueryKind::keyword);
        const auto targets = server.listing_targets();
        ASSERT_EQ(targets.size(), before + 2) << list;
        EXPECT_EQ(targets[before], search_target("", 1, "default"));
        EXPECT_EQ(view.result(QueryKind::keyword), "关键词：  前1000名没有找到\r\n\r\n");
    }
}

TEST_F(QueryHandlers, BlankLinesBetweenKeywordsGiveNoRuns) {
    serve({kTarget});
    view.type_keywords("a\n\n  \n\nb\n");
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword), "关键词：a  第1名\r\n\r\n关键词：b  第1名\r\n\r\n");
    EXPECT_EQ(server.listing_targets().size(), 2u);
    EXPECT_EQ(state.remaining_keywords, "");
}

TEST_F(QueryHandlers, StackDoesNotGrowWithTheNumberOfKeywords) {
    serve({kTarget});
    const auto two = pause_frames(2);
    const auto six = pause_frames(6);
    EXPECT_EQ(server.listing_targets().size(), 8u);
    EXPECT_FALSE(two.empty());
    EXPECT_EQ(two, six);
}

TEST_F(QueryHandlers, CategoryLevelsTakeTheirIdFromTheHolderWhenTheyStart) {
    serve({"1", kTarget});
    fill_in(QueryKind::category);
    view.choose(Choice::level1, " 11 ");
    view.choose(Choice::level2, "22");
    view.choose(Choice::level3, "33");
    // A new level-3 choice while level 1 runs counts for level 3.
    clock.once_when([&] { return !server.listing_targets().empty(); },
                    [&] { view.set_holder(Choice::level3, "34"); });
    click(QueryKind::category);
    EXPECT_EQ(view.result(QueryKind::category),
              "一级类目排名：第2名\r\n\r\n二级类目排名：第2名\r\n\r\n三级类目排名：第2名\r\n\r\n");
    const std::string tail = "/groups?offset=0&opt_type=1&size=500&sort_type=DEFAULT&qmxuid=0";
    EXPECT_EQ(server.listing_targets(),
              (Ids{"/operation/11" + tail, "/operation/22" + tail, "/operation/34" + tail}));
    EXPECT_EQ(utf8(view.page(QueryKind::category).shown.goods_name), "麻辣条");
    EXPECT_EQ(utf8(view.page(QueryKind::category).shown.shop_name), "辣味小店");
    EXPECT_EQ(view.caption(QueryKind::category), "查询");
    EXPECT_EQ(state.current_category_level, 3);
    EXPECT_EQ(clock.pauses(), (Pauses{20, 200, 200, 10, 20, 200, 200, 10, 20, 200, 200}));
}

TEST_F(QueryHandlers, IshoppingFoundShowsNamesAndRank) {
    serve({"5", kTarget}, {}, /*objects=*/true);
    fill_in(QueryKind::ishopping);
    view.choose(Choice::tab, " 7 ");
    click(QueryKind::ishopping);
    EXPECT_EQ(view.result(QueryKind::ishopping), "爱逛街排名：第2名\r\n\r\n");
    EXPECT_EQ(utf8(view.page(QueryKind::ishopping).shown.goods_name), "麻辣条");
    EXPECT_EQ(utf8(view.page(QueryKind::ishopping).shown.shop_name), "辣味小店");
    EXPECT_EQ(server.listing_targets(), Ids{"/ishopping/goods?tab_id=7&page=1&size=500&qmxuid="});
}

TEST_F(QueryHandlers, IshoppingNotFoundNamesTheGoodsId) {
    serve({"5"}, {"6"}, /*objects=*/true);
    fill_in(QueryKind::ishopping, "  ");  // only spaces still passes the check
    click(QueryKind::ishopping);
    EXPECT_EQ(view.result(QueryKind::ishopping), "商品ID：4033138  前1000名没有找到\r\n\r\n");
    EXPECT_TRUE(view.messages().empty());
    EXPECT_EQ(server.targets().front(), "/goods2.html?goods_id=");
}

TEST_F(QueryHandlers, GoodsLinkIsFetchedAsTyped) {
    serve({kTarget}, {}, /*objects=*/true);
    fill_in(QueryKind::new_goods,
            "  http://" + server.host() + "/goods2.html?GOODS-LINK=1&goods_id=9 ");
    click(QueryKind::new_goods);
    EXPECT_EQ(server.targets().front(), "/goods2.html?GOODS-LINK=1&goods_id=9");
    EXPECT_EQ(view.result(QueryKind::new_goods), "新品排名：第1名\r\n\r\n");
    EXPECT_EQ(server.listing_targets(),
              Ids{"/v5/newlist?page=1&size=500&list_id=0699021960&ver=0&qmxuid="});
}

struct FailureCase {
    const char* name;
    QueryKind kind;
    const char* keywords;  // LF line ends
    const char* written;   // the result box afterwards
    std::size_t listing_requests;
};

// Rows show as their name in test output.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

// The goods page gives no Goods ID: no listing is asked for.
class WithoutGoodsId : public QueryFixture, public testing::WithParamInterface<FailureCase> {};

TEST_P(WithoutGoodsId, EveryRunFailsAndTheButtonsComeBack) {
    const FailureCase& c = GetParam();
    server.set_goods_page("<html>商品不存在或已下架</html>");
    fill_in(c.kind, "123");
    view.type_keywords(c.keywords);
    click(c.kind);
    EXPECT_EQ(view.result(c.kind), c.written);
    EXPECT_EQ(server.targets(), Ids{"/goods2.html?goods_id=123"});
    EXPECT_TRUE(view.all_buttons_enabled());
    EXPECT_EQ(view.caption(c.kind), "查询");
}

INSTANTIATE_TEST_SUITE_P(
    Table, WithoutGoodsId,
    testing::Values(FailureCase{"Keyword", QueryKind::keyword, "a\nb",
                                "关键词：a  查询失败（未取得商品ID）\r\n\r\n"
                                "关键词：b  查询失败（未取得商品ID）\r\n\r\n",
                                0},
                    FailureCase{"Category", QueryKind::category, "",
                                "一级类目排名：查询失败（未取得商品ID）\r\n\r\n"
                                "二级类目排名：查询失败（未取得商品ID）\r\n\r\n"
                                "三级类目排名：查询失败（未取得商品ID）\r\n\r\n",
                                0},
                    FailureCase{"Ishopping", QueryKind::ishopping, "",
                                "商品ID：  查询失败（未取得商品ID）\r\n\r\n", 0},
                    FailureCase{"NewGoods", QueryKind::new_goods, "",
                                "商品ID：  查询失败（未取得商品ID）\r\n\r\n", 0}),
    [](const auto& info) { return std::string(info.param.name); });

// Page 1 of every listing answers 503: each run fails without asking for page 2.
class FailedListing : public QueryFixture, public testing::WithParamInterface<FailureCase> {};

TEST_P(FailedListing, IsReportedInTheResultBox) {
    const FailureCase& c = GetParam();
    serve({}, {kTarget});
    server.set_page(1, test::Reply::status("HTTP/1.1 503 Service Unavailable", "busy"));
    fill_in(c.kind);
    view.type_keywords(c.keywords);
    click(c.kind);
    EXPECT_EQ(view.result(c.kind), c.written);
    EXPECT_EQ(server.listing_targets().size(), c.listing_requests);
    EXPECT_TRUE(view.all_buttons_enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Table, FailedListing,
    testing::Values(FailureCase{"Keyword", QueryKind::keyword, "a\nb",
                                "关键词：a  查询失败（服务器返回错误 503）\r\n\r\n"
                                "关键词：b  查询失败（服务器返回错误 503）\r\n\r\n",
                                2},
                    FailureCase{"Category", QueryKind::category, "",
                                "一级类目排名：查询失败（服务器返回错误 503）\r\n\r\n"
                                "二级类目排名：查询失败（服务器返回错误 503）\r\n\r\n"
                                "三级类目排名：查询失败（服务器返回错误 503）\r\n\r\n",
                                3},
                    FailureCase{"Ishopping", QueryKind::ishopping, "",
                                "商品ID：4033138  查询失败（服务器返回错误 503）\r\n\r\n", 1},
                    FailureCase{"NewGoods", QueryKind::new_goods, "",
                                "商品ID：4033138  查询失败（服务器返回错误 503）\r\n\r\n", 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct ValidationCase {
    const char* name;
    QueryKind kind;
    std::vector<Choice> chosen;
    const char* input;
    const char* message;
};

// Rows show as their name in test output.
void PrintTo(const ValidationCase& c, std::ostream* os) {
    *os << c.name;
}

class Validation : public QueryFixture, public testing::WithParamInterface<ValidationCase> {};

TEST_P(Validation, RefusesWithAMessageAndChangesNothing) {
    const ValidationCase& c = GetParam();
    for (Choice choice : c.chosen)
        view.choose(choice, "1");
    view.type_goods(c.kind, c.input);
    view.set_result(c.kind, "earlier result");
    click(c.kind);
    EXPECT_EQ(view.messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(view.result(c.kind), "earlier result");
    EXPECT_TRUE(server.targets().empty());
    EXPECT_TRUE(view.all_buttons_enabled());
    EXPECT_EQ(view.caption(c.kind), "查询");
    EXPECT_TRUE(clock.pauses().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, Validation,
    testing::Values(
        ValidationCase{"NoTab", QueryKind::ishopping, {}, "1", "请选择类目！"},
        ValidationCase{
            "NoInput", QueryKind::ishopping, {Choice::tab}, "", "请填写链接或者商品ID！"},
        ValidationCase{"NothingChosen", QueryKind::category, {}, "", "请选择一级类目"},
        ValidationCase{"NoLevel2", QueryKind::category, {Choice::level1}, "1", "请选择二级类目"},
        ValidationCase{"NoLevel3",
                       QueryKind::category,
                       {Choice::level1, Choice::level2},
                       "1",
                       "请选择三级类目"},
        ValidationCase{"SpacesOnly",
                       QueryKind::category,
                       {Choice::level1, Choice::level2, Choice::level3},
                       "   ",
                       "请填写商品ID"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
