// Level 1 against the simulator's vendor info page: first visits, retries,
// the status link's states and the 获取成功 box.
#include <gtest/gtest.h>

#include <optional>

#include "catalogue/status_link.h"
#include "plain/scoped_hosts.h"
#include "plain_view.h"
#include "probe_pump.h"
#include "sim_catalogue.h"
#include "sim_lists.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

using namespace catalogue_test;

class Level1Load : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        w.data.hosts = test::all_hosts_on(server.host());
    }

    void publish(int level1_count) {
        sim::Options options = server.options();
        options.level1_count = level1_count;
        server.set_options(options);
    }

    Expected all() const { return expected(sim::Catalogue(server.options().seed).level1()); }
    Expected shown() const { return Expected{w.items(ListKind::Level1), w.data.level1.ids}; }
    LinkState link() const { return w.view.link(Link::category); }

    int info_requests() const {
        int n = 0;
        for (const auto& r : server.requests())
            n += r.target == "/info.asp?id=70";
        return n;
    }

    sim::Server server{on_any_port()};
    PlainWindow w;
};

void expect_same(const Expected& got, const Expected& want) {
    EXPECT_EQ(got.names, want.names);
    EXPECT_EQ(got.ids, want.ids);
}

const LinkState kFirstFailed{true, true, GBK("获取类目名称失败，点击这里重新获取…"),
                             LinkColour::Red};

TEST_F(Level1Load, FirstVisitFillsTheBoxAndHidesTheLink) {
    ASSERT_GE(all().names.size(), 5u);
    w.load_level1();
    expect_same(shown(), all());
    EXPECT_EQ(info_requests(), 1);
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    EXPECT_EQ(w.view.box(ListKind::Level1).chosen, -1);
    EXPECT_TRUE(w.view.messages().empty());
    EXPECT_EQ(w.data.category_link, link());
}

TEST_F(Level1Load, ExactlyFourEntriesFail) {
    publish(4);
    w.load_level1();
    expect_same(shown(), first(all(), 4));
    EXPECT_EQ(link(), kFirstFailed);
}

TEST_F(Level1Load, FiveEntriesSucceedWithoutABox) {
    publish(5);
    w.load_level1();
    expect_same(shown(), first(all(), 5));
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    EXPECT_TRUE(w.view.messages().empty());
}

TEST_F(Level1Load, LinkIsBlueWithProgressCaptionWhileFetching) {
    std::vector<LinkState> seen;
    ProbePump pump([&](int) { seen.push_back(link()); });
    w.load_level1();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (LinkState{true, false, GBK("一级类目获取中……"), LinkColour::Blue}));
}

struct NoAnswer {
    const char* name;
    void (*fault)(sim::Options&);
};

class Level1NoAnswer : public Level1Load, public ::testing::WithParamInterface<NoAnswer> {};

TEST_P(Level1NoAnswer, LeavesBufferBlankAndShowsFailure) {
    sim::Options options = server.options();
    GetParam().fault(options);
    server.set_options(options);
    w.load_level1();
    EXPECT_EQ(w.data.level1.buffer, "");
    EXPECT_TRUE(w.items(ListKind::Level1).empty());
    EXPECT_EQ(link(), kFirstFailed);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Level1NoAnswer,
    ::testing::Values(
        NoAnswer{"EmptyBody", [](sim::Options& o) { o.body = sim::BodyFault::empty; }},
        NoAnswer{"Garbage", [](sim::Options& o) { o.body = sim::BodyFault::garbage; }},
        NoAnswer{"ServerError", [](sim::Options& o) { o.status = 500; }},
        NoAnswer{"Refused", [](sim::Options& o) { o.refuse_connections = true; }},
        NoAnswer{"NoEntries", [](sim::Options& o) { o.level1_count = 0; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Level1Load, SuccessfulRetryAnnouncesOnceThenHidesAndDisables) {
    publish(4);
    w.load_level1();
    publish(-1);
    w.retry_level1();
    ASSERT_EQ(w.view.messages().size(), 1u);
    const ShownMessage& box = w.view.messages()[0];
    EXPECT_EQ(box.text, GBK("获取成功"));
    EXPECT_EQ(box.style, 0);
    EXPECT_EQ(box.caption, GBK("信息："));
    EXPECT_FALSE(box.category_link.visible);
    EXPECT_TRUE(box.category_link.enabled);  // disabled only once the box is closed
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    // The retry does not empty the box: the four earlier entries come twice.
    expect_same(shown(), joined(first(all(), 4), all()));
}

TEST_F(Level1Load, FailedRetryShowsTheRetryCaptionAndStaysClickable) {
    publish(2);
    w.load_level1();
    w.retry_level1();
    EXPECT_EQ(link(), (LinkState{true, true, GBK("获取一级类目名称失败，点击这里重新获取……"),
                                 LinkColour::Red}));
    EXPECT_TRUE(w.view.messages().empty());
    expect_same(shown(), joined(first(all(), 2), first(all(), 2)));
    EXPECT_EQ(info_requests(), 2);
}

TEST_F(Level1Load, SecondVisitDuringTheFetchLoadsNothingMore) {
    ProbePump pump([&](int wait) {
        if (wait == 1)
            w.load_level1();
    });
    w.load_level1();
    expect_same(shown(), all());
    EXPECT_EQ(info_requests(), 1);
    EXPECT_FALSE(w.data.loads.level1_running);
}

TEST_F(Level1Load, WindowClosedDuringTheFetchIsLeftAlone) {
    ProbePump pump([&](int) { w.view.close(); });
    w.load_level1();
    EXPECT_TRUE(w.items(ListKind::Level1).empty());
    EXPECT_EQ(w.data.level1.buffer, "");
    EXPECT_EQ(link().caption, GBK("一级类目获取中……"));
    EXPECT_FALSE(w.data.loads.level1_running);
}

TEST_F(Level1Load, WindowClosedWhileTheSuccessBoxIsOpenIsLeftAlone) {
    publish(4);
    w.load_level1();
    publish(-1);
    w.view.during_message = [this] { w.view.close(); };
    w.retry_level1();
    ASSERT_EQ(w.view.messages().size(), 1u);
    EXPECT_FALSE(link().visible);
    EXPECT_TRUE(link().enabled);
    EXPECT_TRUE(w.data.category_link.enabled);
}

}  // namespace
}  // namespace catalogue
