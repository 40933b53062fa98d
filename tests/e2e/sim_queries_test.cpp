// Whole queries through the real window against the marketplace simulator;
// expected ranks come from the simulator's own catalogue.
#include <gtest/gtest.h>

#include <string>

#include "query_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"

namespace {

using e2e::QueryWindow;
using ranking::QueryKind;

net::Hosts hosts_on(const sim::Server& server) {
    const std::string h = server.host();
    return net::Hosts{h, h, h, h, "goods2.html"};
}

std::string rank_text(int position) {
    return position < 0 ? "前1000名没有找到" : "第" + std::to_string(position) + "名";
}

std::vector<std::string> listing_targets(const sim::Server& server) {
    std::vector<std::string> out;
    for (const auto& r : server.requests()) {
        if (r.path != "/goods2.html")
            out.push_back(r.target);
    }
    return out;
}

class SimQueries : public testing::Test {
  protected:
    SimQueries() : server(options()), catalogue(1) {
        started = server.start();
        window = std::make_unique<QueryWindow>(hosts_on(server));
    }

    static sim::Options options() {
        sim::Options o;
        o.port = 0;
        return o;
    }

    int expected(sim::ListingKind kind, const std::vector<std::string>& listing) {
        return sim::expected_position(kind, listing, sim::kSampleGoodsId, server.options());
    }

    sim::Server server;
    sim::Catalogue catalogue;
    bool started = false;
    std::unique_ptr<QueryWindow> window;
};

TEST_F(SimQueries, SampleKeywordsGiveARankOnPageOneOneOnPageTwoAndNone) {
    ASSERT_TRUE(started);
    // The window starts with the sample goods and its three keywords.
    window->click(QueryKind::keyword);
    std::string box;
    std::vector<int> ranks;
    for (std::string_view k : sim::kSampleKeywords) {
        const int rank =
            expected(sim::ListingKind::keyword, catalogue.keyword_listing(k, sim::Sort::overall));
        ranks.push_back(rank);
        box += "关键词：" + std::string(k) + "  " + rank_text(rank) + "\r\n\r\n";
    }
    EXPECT_EQ(window->text("编辑框5"), box);
    ASSERT_EQ(ranks.size(), 3u);
    EXPECT_TRUE(ranks[0] >= 1 && ranks[0] <= 500) << ranks[0];
    EXPECT_GT(ranks[1], 500);
    EXPECT_EQ(ranks[2], -1);

    const std::string q1 = "%E8%BE%A3%E6%9D%A1%E5%A4%A7%E7%A4%BC%E5%8C%85";
    const std::string q2 = "%E8%BE%A3%E6%9D%A1";
    const std::string q3 = "%E8%BE%A3%E6%9D%A1%E7%A4%BC%E5%8C%85";
    auto url = [](const std::string& q, int page) {
        return "/search?q=" + q + "&requery=0&page=" + std::to_string(page) +
               "&size=500&sort=default";
    };
    EXPECT_EQ(listing_targets(server), (std::vector<std::string>{url(q1, 1), url(q2, 1), url(q2, 2),
                                                                 url(q3, 1), url(q3, 2)}));
    for (QueryKind kind : ranking::kAllKinds)
        EXPECT_TRUE(window->enabled(kind));
}

TEST_F(SimQueries, EverySortOrderRanksFromItsOwnListing) {
    ASSERT_TRUE(started);
    const std::vector<std::pair<const char*, sim::Sort>> sorts = {
        {"单选框销量", sim::Sort::sales},
        {"单选框评分", sim::Sort::credit},
        {"单选框价格低", sim::Sort::price_ascending},
        {"单选框价格高", sim::Sort::price_descending}};
    for (const auto& [radio, sort] : sorts) {
        window->check(radio);
        window->type("编辑框3", "辣条");
        window->click(QueryKind::keyword);
        const int rank =
            expected(sim::ListingKind::keyword, catalogue.keyword_listing("辣条", sort));
        EXPECT_EQ(window->text("编辑框5"), "关键词：辣条  " + rank_text(rank) + "\r\n\r\n")
            << radio;
        EXPECT_NE(
            listing_targets(server).back().find("&sort=" + std::string(sim::sort_value(sort))),
            std::string::npos);
    }
}

TEST_F(SimQueries, CategoryQueryOverThreeLevels) {
    ASSERT_TRUE(started);
    const auto levels = catalogue.sample_categories();
    window->data().catalogue.level1.chosen_id = levels[0].id;
    window->data().catalogue.level2.chosen_id = levels[1].id;
    window->data().catalogue.level3.chosen_id = levels[2].id;
    for (int i = 0; i < 3; ++i) {
        window->choose_item(("组合框" + std::to_string(i + 1)).c_str(), levels[i].name);
    }
    window->type("编辑框12", std::string(sim::kSampleGoodsId));
    window->click(QueryKind::category);
    const char* captions[] = {"一级类目排名：", "二级类目排名：", "三级类目排名："};
    std::string box;
    for (int i = 0; i < 3; ++i) {
        const int rank =
            expected(sim::ListingKind::category, catalogue.category_listing(levels[i].id));
        box += captions[i] + rank_text(rank) + "\r\n\r\n";
    }
    EXPECT_EQ(window->text("编辑框13"), box);
    EXPECT_EQ(window->text("标签11"), catalogue.sample().name);
    EXPECT_EQ(window->text("标签12"), catalogue.sample().shop);
}

TEST_F(SimQueries, IshoppingFoundAndNotFound) {
    ASSERT_TRUE(started);
    const sim::Tab& tab = catalogue.sample_tab();
    window->choose_item("组合框4", tab.name);
    window->data().catalogue.tabs.chosen_id = tab.id;
    window->type("编辑框16", std::string(sim::kSampleGoodsId));
    window->click(QueryKind::ishopping);
    const int rank = expected(sim::ListingKind::tab, catalogue.tab_listing(tab.id));
    ASSERT_GT(rank, 0);
    EXPECT_EQ(window->text("编辑框17"), "爱逛街排名：" + rank_text(rank) + "\r\n\r\n");
    EXPECT_EQ(window->text("标签19"), catalogue.sample().name);
    EXPECT_EQ(window->text("标签16"), catalogue.sample().shop);

    // Some goods far down or absent from that tab.
    const auto& listing = catalogue.tab_listing(tab.id);
    std::string absent;
    for (const auto& g : catalogue.goods()) {
        if (std::find(listing.begin(), listing.end(), g.id) == listing.end()) {
            absent = g.id;
            break;
        }
    }
    ASSERT_FALSE(absent.empty());
    window->type("编辑框16", absent);
    window->click(QueryKind::ishopping);
    EXPECT_EQ(window->text("编辑框17"), "商品ID：" + absent + "  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(window->text("标签19"), catalogue.find_goods(absent)->name);
}

TEST_F(SimQueries, NewGoodsFoundAndNotFound) {
    ASSERT_TRUE(started);
    window->type("编辑框18", std::string(sim::kSampleGoodsId));
    window->click(QueryKind::new_goods);
    const int rank = expected(sim::ListingKind::new_goods, catalogue.new_goods_listing());
    ASSERT_GT(rank, 0);
    EXPECT_EQ(window->text("编辑框19"), "新品排名：" + rank_text(rank) + "\r\n\r\n");
    EXPECT_EQ(window->text("标签26"), catalogue.sample().name);
    EXPECT_EQ(window->text("标签24"), catalogue.sample().shop);

    const auto listing = catalogue.new_goods_listing();
    ASSERT_GT(listing.size(), 1000u);
    const std::string late = listing[1000];
    window->type("编辑框18", late);
    window->click(QueryKind::new_goods);
    EXPECT_EQ(window->text("编辑框19"), "商品ID：" + late + "  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(window->text("标签24"), catalogue.find_goods(late)->shop);
}

TEST_F(SimQueries, ShortFirstPageShiftsPageTwoRanks) {
    ASSERT_TRUE(started);
    sim::Options o = server.options();
    o.short_first_page = 480;
    server.set_options(o);
    window->type("编辑框3", "辣条");
    window->click(QueryKind::keyword);
    const int rank =
        expected(sim::ListingKind::keyword, catalogue.keyword_listing("辣条", sim::Sort::overall));
    EXPECT_GT(rank, 480);
    EXPECT_EQ(window->text("编辑框5"), "关键词：辣条  " + rank_text(rank) + "\r\n\r\n");
}

TEST_F(SimQueries, EntriesWithoutThumbKeepEveryRankInPlace) {
    ASSERT_TRUE(started);
    sim::Options o = server.options();
    o.no_thumb_every = 3;
    server.set_options(o);
    window->type("编辑框3", "辣条大礼包");
    window->click(QueryKind::keyword);
    // Every entry gives its own row: the rank is the goods' place in the listing.
    const auto listing = catalogue.keyword_listing("辣条大礼包", sim::Sort::overall);
    const auto it = std::find(listing.begin(), listing.end(), sim::kSampleGoodsId);
    ASSERT_NE(it, listing.end());
    const int place = static_cast<int>(it - listing.begin()) + 1;
    ASSERT_LE(place, 500);
    EXPECT_EQ(window->text("编辑框5"), "关键词：辣条大礼包  " + rank_text(place) + "\r\n\r\n");
}

struct FaultCase {
    std::string name;
    sim::BodyFault body;
    int status;
    std::string reason;
};

class Faults : public SimQueries, public testing::WithParamInterface<FaultCase> {};

// A page that did not arrive as a listing fails its run: it is never shown as
// "not among the first 1000", and page 2 is not asked for after it.
TEST_P(Faults, FailTheRunInsteadOfNotFound) {
    ASSERT_TRUE(started);
    sim::Options o = server.options();
    o.fault_path = "/search";
    o.body = GetParam().body;
    o.status = GetParam().status;
    server.set_options(o);
    window->type("编辑框3", "辣条大礼包\n辣条");
    window->click(QueryKind::keyword);
    const std::string failed = "  查询失败（" + GetParam().reason + "）\r\n\r\n";
    EXPECT_EQ(window->text("编辑框5"), "关键词：辣条大礼包" + failed + "关键词：辣条" + failed);
    EXPECT_EQ(listing_targets(server).size(), 2u);
    EXPECT_TRUE(window->enabled(QueryKind::keyword));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Faults,
    testing::Values(FaultCase{"Garbage", sim::BodyFault::garbage, 0, "返回内容无法识别"},
                    FaultCase{"ServerError", sim::BodyFault::none, 503, "服务器返回错误 503"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SimQueries, GoodsPageWithoutGoodsIdFetchesNoListing) {
    ASSERT_TRUE(started);
    window->type("编辑框18", "no-such-goods");
    window->click(QueryKind::new_goods);
    EXPECT_EQ(window->text("编辑框19"), "商品ID：  查询失败（未取得商品ID）\r\n\r\n");
    EXPECT_TRUE(listing_targets(server).empty());
    EXPECT_TRUE(window->enabled(QueryKind::new_goods));
}

}  // namespace
