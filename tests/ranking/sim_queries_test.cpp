// Queries against the local simulator: the window's sample goods and keywords
// give their ranks, and its faults give the failure the user is shown.
#include <gtest/gtest.h>

#include <optional>

#include "net/fetch_page.h"
#include "plain/fake_pause_clock.h"
#include "plain/scoped_hosts.h"
#include "plain_query_view.h"
#include "ranking/listing_read.h"
#include "sim_catalogue.h"
#include "sim_server.h"

namespace {

using namespace ranking_test;

sim::Options on_free_port() {
    sim::Options options;
    options.port = 0;
    return options;
}

std::string rank_text(int position) {
    return "第" + std::to_string(position) + "名";
}

class SimQueries : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        state.hosts = test::all_hosts_on(server.host());
        for (QueryKind kind : ranking::kAllKinds)
            view.type_goods(kind, std::string(sim::kSampleGoodsId));
    }

    void click(QueryKind kind) { ranking_test::click(view, state, kind); }

    std::size_t requests_for(const std::string& path) const {
        std::size_t count = 0;
        for (const sim::RequestRecord& r : server.requests())
            count += r.path == path ? 1 : 0;
        return count;
    }

    sim::Server server{on_free_port()};
    sim::Catalogue catalogue{1};
    test::FakePauseClock clock;
    PlainQueryView view;
    ranking::QueryState state;
};

TEST_F(SimQueries, SampleKeywordsUnderTheDefaultSort) {
    view.type_keywords("辣条大礼包\n辣条\n辣条礼包");
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword),
              "关键词：辣条大礼包  第37名\r\n\r\n关键词：辣条  第618名\r\n\r\n"
              "关键词：辣条礼包  前1000名没有找到\r\n\r\n");
    EXPECT_EQ(requests_for("/search"), 5u);  // page 2 only where page 1 lacked the goods
    EXPECT_EQ(utf8(view.page(QueryKind::keyword).shown.goods_name), catalogue.sample().name);
}

TEST_F(SimQueries, SampleCategoriesLevelByLevel) {
    const auto levels = catalogue.sample_categories();
    view.choose(Choice::level1, levels[0].id);
    view.choose(Choice::level2, levels[1].id);
    view.choose(Choice::level3, levels[2].id);
    click(QueryKind::category);
    std::string expected;
    const char* captions[] = {"一级类目排名：", "二级类目排名：", "三级类目排名："};
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const int position =
            sim::expected_position(sim::ListingKind::category,
                                   catalogue.category_listing(levels[i].id), sim::kSampleGoodsId);
        ASSERT_GT(position, 0);
        expected += captions[i] + rank_text(position) + "\r\n\r\n";
    }
    EXPECT_EQ(view.result(QueryKind::category), expected);
}

TEST_F(SimQueries, SampleTabAndNewGoods) {
    view.choose(Choice::tab, catalogue.sample_tab().id);
    click(QueryKind::ishopping);
    click(QueryKind::new_goods);
    const int in_tab = sim::expected_position(sim::ListingKind::tab,
                                              catalogue.tab_listing(catalogue.sample_tab().id),
                                              sim::kSampleGoodsId);
    const int new_goods = sim::expected_position(
        sim::ListingKind::new_goods, catalogue.new_goods_listing(), sim::kSampleGoodsId);
    ASSERT_GT(in_tab, 0);
    ASSERT_GT(new_goods, 0);
    EXPECT_EQ(view.result(QueryKind::ishopping), "爱逛街排名：" + rank_text(in_tab) + "\r\n\r\n");
    EXPECT_EQ(view.result(QueryKind::new_goods), "新品排名：" + rank_text(new_goods) + "\r\n\r\n");
}

struct FaultCase {
    const char* name;
    void (*edit)(sim::Options&);
    const char* reason;
    std::size_t searches;  // listing requests that reached the simulator
};

// Rows show as their name in test output.
void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class SimFaults : public SimQueries, public testing::WithParamInterface<FaultCase> {};

// The goods page is read normally; the fault is switched on before the
// listing is asked for.
TEST_P(SimFaults, FailTheRunWithTheirReason) {
    view.type_keywords("辣条");
    clock.once_when([] { return true; },
                    [&] {
                        sim::Options options = server.options();
                        GetParam().edit(options);
                        server.set_options(options);
                    });
    click(QueryKind::keyword);
    EXPECT_EQ(view.result(QueryKind::keyword),
              std::string("关键词：辣条  查询失败（") + GetParam().reason + "）\r\n\r\n");
    EXPECT_EQ(requests_for("/search"), GetParam().searches);
    EXPECT_TRUE(view.all_buttons_enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimFaults,
    testing::Values(
        FaultCase{"Status503", [](sim::Options& o) { o.status = 503; }, "服务器返回错误 503", 1},
        FaultCase{"Status404", [](sim::Options& o) { o.status = 404; }, "服务器返回错误 404", 1},
        FaultCase{"EmptyBody", [](sim::Options& o) { o.body = sim::BodyFault::empty; },
                  "返回内容无法识别", 1},
        FaultCase{"Garbage", [](sim::Options& o) { o.body = sim::BodyFault::garbage; },
                  "返回内容无法识别", 1},
        FaultCase{"Refused", [](sim::Options& o) { o.refuse_connections = true; }, "无法连接服务器",
                  0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimQueries, SlowAnswerPastTheTimeoutIsATimeout) {
    sim::Options options = server.options();
    options.fault_path = "/search";
    options.delay_ms = 30000;  // cut short when the simulator stops
    server.set_options(options);
    ranking::ListingRead read(QueryKind::keyword, {std::string(sim::kSampleGoodsId)});
    const ranking::Listing listing{QueryKind::keyword, "k", ranking::Sort::general};
    std::string url = ranking::listing_page_url(state.hosts, listing, read.next_page());
    net::FetchOptions short_wait;
    short_wait.timeout_seconds = 1;
    read.add_page(net::fetch_page_result(url, short_wait));
    EXPECT_FALSE(read.wants_page());
    EXPECT_EQ(read.outcomes().front(), ranking::RunOutcome::failed(ranking::FailReason::timeout));
}

}  // namespace
