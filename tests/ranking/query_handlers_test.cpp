// The four query buttons in the real window against a loopback marketplace
// whose answers each test writes.
#include "ranking/query_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "listing_body.h"
#include "listing_server.h"
#include "query_window.h"
#include "ranking/query_tabs.h"

namespace {

using ranking::QueryKind;
using ranking_test::ListingServer;
using ranking_test::QueryWindow;

constexpr const char* kTarget = "4033138";

std::string search_url(const std::string& q, int page, const std::string& sort) {
    return "/search?q=" + q + "&requery=0&page=" + std::to_string(page) + "&size=500&sort=" + sort;
}

class QueryHandlers : public testing::Test {
  protected:
    QueryHandlers() : window(server.hosts()) {
        server.set_goods_page(ranking_test::goods_page(kTarget, "麻辣条", "辣味小店"));
    }

    // Listing pages made of the given ids (keyword/category shape, or objects).
    void serve(const std::vector<std::string>& page1, const std::vector<std::string>& page2 = {},
               bool objects = false) {
        auto body = [objects](const std::vector<std::string>& ids) {
            const auto entries = listing_body::ids(ids);
            return objects ? listing_body::object_listing(entries)
                           : listing_body::keyword_listing(entries);
        };
        server.set_listing_page(1, body(page1));
        server.set_listing_page(2, body(page2));
    }

    ListingServer server;
    QueryWindow window;
};

TEST_F(QueryHandlers, KeywordFoundOnPageOneRewritesItsLine) {
    serve({"1", "2", kTarget});
    window.type("编辑框3", "辣条");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"), "关键词：辣条  第3名\r\n\r\n");
    EXPECT_EQ(server.listing_targets(),
              (std::vector<std::string>{search_url("%E8%BE%A3%E6%9D%A1", 1, "default")}));
    EXPECT_EQ(window.data().target_keyword, kTarget);
    EXPECT_EQ(window.data().query_kind, ranking_test::gbk("关键词"));
}

TEST_F(QueryHandlers, KeywordNotFoundAsksForPageTwoThenGivesUp) {
    serve({"1"}, {"2"});
    window.type("编辑框3", "a b\nc");
    window.check("单选框评分");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"),
              "关键词：a b  前1000名没有找到\r\n\r\n关键词：c  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(server.listing_targets(),
              (std::vector<std::string>{
                  search_url("a%20b", 1, "_credit"), search_url("a%20b", 2, "_credit"),
                  search_url("c", 1, "_credit"), search_url("c", 2, "_credit")}));
    EXPECT_EQ(server.targets().front(), "/goods2.html?goods_id=4033138");
}

struct PositionCase {
    std::string name;
    std::vector<std::string> page1;
    std::vector<std::string> page2;
    std::string expected;
};

std::vector<std::string> filler(int count) {
    std::vector<std::string> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(std::to_string(900000 + i));
    return ids;
}

std::vector<std::string> with(std::vector<std::string> ids, std::size_t index, std::string id) {
    ids.at(index) = std::move(id);
    return ids;
}

class Positions : public QueryHandlers, public testing::WithParamInterface<PositionCase> {};

TEST_P(Positions, AreCountedFromTheFirstRowOfPageOne) {
    serve(GetParam().page1, GetParam().page2, /*objects=*/true);
    window.type("编辑框18", kTarget);
    window.click(QueryKind::new_goods);
    EXPECT_EQ(window.text("编辑框19"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Positions,
    testing::Values(
        PositionCase{"FirstEntry", with(filler(500), 0, kTarget), {}, "新品排名：第1名\r\n\r\n"},
        PositionCase{"ThirdOfPageTwoAfterFullPage", filler(500), with(filler(500), 2, kTarget),
                     "新品排名：第503名\r\n\r\n"},
        PositionCase{"ThirdOfPageTwoAfterShortPage", filler(480), with(filler(500), 2, kTarget),
                     "新品排名：第483名\r\n\r\n"},
        PositionCase{"ListedTwice",
                     with(with(filler(20), 5, kTarget), 9, kTarget),
                     {},
                     "新品排名：第6名\r\n\r\n"},
        PositionCase{"NotAmongTheFirstThousand", filler(500), filler(500),
                     "商品ID：4033138  前1000名没有找到\r\n\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(QueryHandlers, EntryWithoutThumbAndTheOneAfterKeepTheirPositions) {
    for (const auto& [target, rank] : std::vector<std::pair<std::string, std::string>>{
             {"22", "第2名"}, {"33", "第3名"}, {"44", "第4名"}}) {
        auto entries = listing_body::ids({"11", "22", "33", "44"});
        entries[1].thumb = false;
        server.set_listing_page(1, listing_body::keyword_listing(entries));
        server.set_goods_page(ranking_test::goods_page(target, "n", "s"));
        window.type("编辑框3", "k");
        window.click(QueryKind::keyword);
        EXPECT_EQ(window.text("编辑框5"), "关键词：k  " + rank + "\r\n\r\n") << target;
    }
}

TEST_F(QueryHandlers, ButtonsAreLockedDuringTheQueryAndRestoredAfter) {
    serve({"1"}, {"2"});
    window.type("编辑框3", "a\nb");
    std::vector<bool> enabled_during;
    std::string caption_during;
    window.at_wait([&] { return !server.listing_targets().empty(); },
                   [&] {
                       for (QueryKind kind : ranking::kAllKinds) {
                           enabled_during.push_back(window.enabled(kind));
                       }
                       caption_during = window.caption(QueryKind::keyword);
                       window.click(QueryKind::keyword);  // a second click
                       window.click(QueryKind::new_goods);
                   });
    window.click(QueryKind::keyword);
    EXPECT_EQ(enabled_during, (std::vector<bool>{false, false, false, false}));
    EXPECT_EQ(caption_during, "查询中…");
    for (QueryKind kind : ranking::kAllKinds)
        EXPECT_TRUE(window.enabled(kind));
    EXPECT_EQ(window.caption(QueryKind::keyword), "查询");
    EXPECT_EQ(window.caption(QueryKind::new_goods), "查询");
    EXPECT_EQ(server.targets().size(), 5u);  // one goods page, two pages for each keyword
    EXPECT_EQ(window.text("编辑框19"), "");
}

TEST_F(QueryHandlers, SortChangedDuringTheQueryAppliesFromTheNextPage) {
    serve({"1"}, {"2"});
    window.type("编辑框3", "k");
    window.at_wait([&] { return server.listing_targets().size() == 1; },
                   [&] { window.check("单选框价格低"); });
    window.click(QueryKind::keyword);
    EXPECT_EQ(server.listing_targets(), (std::vector<std::string>{search_url("k", 1, "default"),
                                                                  search_url("k", 2, "price")}));
}

TEST_F(QueryHandlers, ProgressLineShortensAfterEachPage) {
    serve({"1"}, {"2"});
    window.type("编辑框3", "k");
    std::vector<std::string> seen;
    window.pump().set_probe([&] { seen.push_back(window.text("编辑框5")); });
    window.click(QueryKind::keyword);
    window.pump().set_probe({});
    ASSERT_FALSE(seen.empty());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "关键词：k  查询中……"), seen.end());
    EXPECT_NE(std::find(seen.begin(), seen.end(), "关键词：k  查询中…"), seen.end());
    EXPECT_EQ(window.text("编辑框5"), "关键词：k  前1000名没有找到\r\n\r\n");
}

TEST_F(QueryHandlers, EmptyKeywordListRunsOnceWithAnEmptyKeyword) {
    for (const char* list : {"", "\n", "\n\n"}) {
        serve({"1"}, {"2"});
        const auto before = server.listing_targets().size();
        window.type("编辑框3", list);
        window.click(QueryKind::keyword);
        const auto targets = server.listing_targets();
        ASSERT_EQ(targets.size(), before + 2) << list;
        EXPECT_EQ(targets[before], search_url("", 1, "default"));
        EXPECT_EQ(window.text("编辑框5"), "关键词：  前1000名没有找到\r\n\r\n");
    }
}

TEST_F(QueryHandlers, BlankLinesBetweenKeywordsGiveNoRuns) {
    serve({kTarget});
    window.type("编辑框3", "a\n\n  \n\nb\n");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"), "关键词：a  第1名\r\n\r\n关键词：b  第1名\r\n\r\n");
    EXPECT_EQ(server.listing_targets().size(), 2u);
    EXPECT_EQ(window.data().编辑框4, "");
}

// Where the stack stands at every wait of one query over `keywords` keywords.
std::set<const void*> wait_depths(QueryWindow& window, int keywords) {
    std::string list;
    for (int i = 0; i < keywords; ++i)
        list += "k" + std::to_string(i) + "\n";
    window.type("编辑框3", list);
    std::set<const void*> depths;
    window.pump().set_probe([&depths] {
        const char marker = 0;
        depths.insert(&marker);
    });
    window.click(QueryKind::keyword);
    window.pump().set_probe({});
    return depths;
}

TEST_F(QueryHandlers, StackDoesNotGrowWithTheNumberOfKeywords) {
    serve({kTarget});
    const auto two = wait_depths(window, 2);
    const auto six = wait_depths(window, 6);
    EXPECT_EQ(server.listing_targets().size(), 8u);
    EXPECT_FALSE(two.empty());
    EXPECT_EQ(two, six);
}

TEST_F(QueryHandlers, SameKeywordTwiceGivesTwoLines) {
    serve({"1", kTarget});
    window.type("编辑框3", "k\nk");
    window.click(QueryKind::keyword);
    EXPECT_EQ(window.text("编辑框5"), "关键词：k  第2名\r\n\r\n关键词：k  第2名\r\n\r\n");
}

TEST_F(QueryHandlers, CategoryQueryRanksInEachLevelFromItsHolder) {
    serve({"1", kTarget}, {});
    window.choose_item("组合框1", "食品");
    window.choose_item("组合框2", "零食");
    window.choose_item("组合框3", "辣条");
    window.data().编辑框6 = " 11 ";
    window.data().编辑框7 = "22";
    window.data().编辑框8 = "33";
    // A new level-3 choice while level 1 runs counts for level 3.
    window.at_wait([&] { return !server.listing_targets().empty(); },
                   [&] { window.data().编辑框8 = "34"; });
    window.type("编辑框12", kTarget);
    window.click(QueryKind::category);
    EXPECT_EQ(window.text("编辑框13"),
              "一级类目排名：第2名\r\n\r\n二级类目排名：第2名\r\n\r\n三级类目排名：第2名\r\n\r\n");
    const std::string tail = "&size=500&sort_type=DEFAULT&qmxuid=0";
    EXPECT_EQ(server.listing_targets(),
              (std::vector<std::string>{"/operation/11/groups?offset=0&opt_type=1" + tail,
                                        "/operation/22/groups?offset=0&opt_type=1" + tail,
                                        "/operation/34/groups?offset=0&opt_type=1" + tail}));
    EXPECT_EQ(window.text("标签11"), "麻辣条");
    EXPECT_EQ(window.text("标签12"), "辣味小店");
    EXPECT_EQ(window.caption(QueryKind::category), "查询");
}

TEST_F(QueryHandlers, CategoryLevelsNotFoundEachAskForBothPages) {
    serve({"1"}, {"2"});
    window.choose_item("组合框1", "a");
    window.choose_item("组合框2", "b");
    window.choose_item("组合框3", "c");
    window.data().编辑框6 = "1";
    window.data().编辑框7 = "2";
    window.data().编辑框8 = "3";
    window.type("编辑框12", kTarget);
    window.click(QueryKind::category);
    EXPECT_EQ(window.text("编辑框13"),
              "一级类目排名：前1000名没有找到\r\n\r\n二级类目排名：前1000名没有找到\r\n\r\n"
              "三级类目排名：前1000名没有找到\r\n\r\n");
    EXPECT_EQ(server.listing_targets().size(), 6u);
    EXPECT_EQ(server.listing_targets()[1],
              "/operation/1/groups?offset=0&opt_type=2&size=500&sort_type=DEFAULT&qmxuid=0");
}

TEST_F(QueryHandlers, IshoppingFoundShowsNamesAndRank) {
    serve({"5", kTarget}, {}, /*objects=*/true);
    window.choose_item("组合框4", "女装");
    window.data().编辑框15 = " 7 ";
    window.type("编辑框16", kTarget);
    window.click(QueryKind::ishopping);
    EXPECT_EQ(window.text("编辑框17"), "爱逛街排名：第2名\r\n\r\n");
    EXPECT_EQ(window.text("标签19"), "麻辣条");
    EXPECT_EQ(window.text("标签16"), "辣味小店");
    EXPECT_EQ(server.listing_targets().front(),
              "/ishopping/goods?tab_id=7&page=1&size=500&qmxuid=");
}

TEST_F(QueryHandlers, IshoppingNotFoundNamesTheGoodsId) {
    serve({"5"}, {"6"}, /*objects=*/true);
    window.choose_item("组合框4", "女装");
    window.type("编辑框16", "  ");  // only spaces still passes the check
    window.click(QueryKind::ishopping);
    EXPECT_EQ(window.text("编辑框17"), "商品ID：4033138  前1000名没有找到\r\n\r\n");
    EXPECT_TRUE(window.messages().empty());
    EXPECT_EQ(server.targets().front(), "/goods2.html?goods_id=");
}

TEST_F(QueryHandlers, NewGoodsWithoutAGoodsPageEndsNotFound) {
    serve({"5"}, {"6"}, /*objects=*/true);
    server.set_goods_page("<html>gone</html>");
    window.type("标签26", "old name");
    window.type("编辑框18", "123");
    window.click(QueryKind::new_goods);
    EXPECT_EQ(window.text("编辑框19"), "商品ID：  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(window.text("标签26"), "");
    EXPECT_EQ(window.text("标签24"), "");
    EXPECT_EQ(
        server.listing_targets(),
        (std::vector<std::string>{"/v5/newlist?page=1&size=500&list_id=0699021960&ver=0&qmxuid=",
                                  "/v5/newlist?page=2&size=500&list_id=0699021960&ver=0&qmxuid="}));
}

TEST_F(QueryHandlers, GoodsLinkIsFetchedAsTyped) {
    serve({kTarget}, {}, true);
    window.type("编辑框18", "  http://" + server.host() + "/goods2.html?GOODS-LINK=1&goods_id=9 ");
    window.click(QueryKind::new_goods);
    EXPECT_EQ(server.targets().front(), "/goods2.html?GOODS-LINK=1&goods_id=9");
    EXPECT_EQ(window.text("编辑框19"), "新品排名：第1名\r\n\r\n");
}

TEST_F(QueryHandlers, TargetsArePerTab) {
    serve({kTarget}, {}, true);
    window.type("编辑框18", "1");
    window.click(QueryKind::new_goods);
    server.set_goods_page(ranking_test::goods_page("555", "x", "y"));
    window.choose_item("组合框4", "t");
    window.type("编辑框16", "2");
    window.click(QueryKind::ishopping);
    EXPECT_EQ(window.data().target_new_goods, kTarget);
    EXPECT_EQ(window.data().target_ishopping, "555");
    EXPECT_EQ(window.data().query_kind, ranking_test::gbk("爱逛街"));
}

struct ValidationCase {
    std::string name;
    QueryKind kind;
    std::vector<std::string> chosen;  // combo boxes given an item
    std::string input;
    std::string message;
};

class Validation : public QueryHandlers, public testing::WithParamInterface<ValidationCase> {};

TEST_P(Validation, RefusesWithAMessageAndChangesNothing) {
    const ValidationCase& c = GetParam();
    for (const auto& combo : c.chosen)
        window.choose_item(combo.c_str(), "x");
    const char* input = ranking::query_tab(c.kind).input;
    const char* box = ranking::query_tab(c.kind).result_box;
    window.type(input, c.input);
    window.type(box, "earlier result");
    window.click(c.kind);
    ASSERT_EQ(window.messages().size(), 1u);
    EXPECT_EQ(window.messages()[0].text, c.message);
    EXPECT_EQ(window.messages()[0].caption, "信息：");
    EXPECT_EQ(window.text(box), "earlier result");
    EXPECT_TRUE(server.targets().empty());
    for (QueryKind kind : ranking::kAllKinds)
        EXPECT_TRUE(window.enabled(kind));
    EXPECT_EQ(window.caption(c.kind), "查询");
}

INSTANTIATE_TEST_SUITE_P(
    Table, Validation,
    testing::Values(
        ValidationCase{"NoTab", QueryKind::ishopping, {}, "1", "请选择类目！"},
        ValidationCase{"NoInput", QueryKind::ishopping, {"组合框4"}, "", "请填写链接或者商品ID！"},
        ValidationCase{"NothingChosen", QueryKind::category, {}, "", "请选择一级类目"},
        ValidationCase{"NoLevel2", QueryKind::category, {"组合框1"}, "1", "请选择二级类目"},
        ValidationCase{
            "NoLevel3", QueryKind::category, {"组合框1", "组合框2"}, "1", "请选择三级类目"},
        ValidationCase{"SpacesOnly",
                       QueryKind::category,
                       {"组合框1", "组合框2", "组合框3"},
                       "   ",
                       "请填写商品ID"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
