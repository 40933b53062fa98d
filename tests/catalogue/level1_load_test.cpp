// Level 1 against the simulator's vendor info page: first visits, retries,
// the status link's states and the 获取成功 box.
#include <gtest/gtest.h>

#include <optional>

#include "catalogue/catalogue_handlers.h"
#include "catalogue/status_link.h"
#include "catalogue/status_link_widget.h"
#include "catalogue_host.h"
#include "net/message_box.h"
#include "probe_pump.h"
#include "qt/test_window.h"
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
        hosts.emplace(server.host());
    }

    void publish(int level1_count) {
        sim::Options options = server.options();
        options.level1_count = level1_count;
        server.set_options(options);
    }

    Expected all() const { return expected(sim::Catalogue(server.options().seed).level1()); }
    Expected shown() { return Expected{items(host.box(1)), host.data().level1_ids}; }
    LinkState link() { return read_link(host.link(1)); }

    int info_requests() const {
        int n = 0;
        for (const auto& r : server.requests())
            n += r.target == "/info.asp?id=70";
        return n;
    }

    sim::Server server{on_any_port()};
    std::optional<qt_test::ScopedHosts> hosts;  // once the server has its port
    qt_test::RecordingMessageBox messages;
    CatalogueHost host;
};

void expect_same(const Expected& got, const Expected& want) {
    EXPECT_EQ(got.names, want.names);
    EXPECT_EQ(got.ids, want.ids);
}

TEST_F(Level1Load, FirstVisitFillsTheBoxAndHidesTheLink) {
    ASSERT_GE(all().names.size(), 5u);
    load_level1_first_visit(host.ctx());
    expect_same(shown(), all());
    EXPECT_EQ(info_requests(), 1);
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    EXPECT_EQ(host.box(1).currentIndex(), -1);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(Level1Load, ExactlyFourEntriesFail) {
    publish(4);
    load_level1_first_visit(host.ctx());
    expect_same(shown(), first(all(), 4));
    EXPECT_EQ(link(),
              (LinkState{true, true, GBK("获取类目名称失败，点击这里重新获取…"), LinkColour::Red}));
    EXPECT_EQ(host.link(1).palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(Level1Load, FiveEntriesSucceedWithoutABox) {
    publish(5);
    load_level1_first_visit(host.ctx());
    expect_same(shown(), first(all(), 5));
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(Level1Load, LinkIsBlueWithProgressCaptionWhileFetching) {
    std::vector<LinkState> seen;
    ProbePump pump([&](int) { seen.push_back(link()); });
    load_level1_first_visit(host.ctx());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (LinkState{true, false, GBK("一级类目获取中……"), LinkColour::Blue}));
    EXPECT_EQ(host.link(1).palette().color(QPalette::WindowText), QColor(0, 0, 255));
}

struct NoAnswer {
    const char* label;
    void (*fault)(sim::Options&);
};

class Level1NoAnswer : public Level1Load, public ::testing::WithParamInterface<NoAnswer> {};

TEST_P(Level1NoAnswer, LeavesBufferBlankAndShowsFailure) {
    sim::Options options = server.options();
    GetParam().fault(options);
    server.set_options(options);
    load_level1_first_visit(host.ctx());
    EXPECT_EQ(host.data().编辑框9, "");
    EXPECT_EQ(host.box(1).count(), 0);
    EXPECT_EQ(link(),
              (LinkState{true, true, GBK("获取类目名称失败，点击这里重新获取…"), LinkColour::Red}));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Level1NoAnswer,
    ::testing::Values(
        NoAnswer{"empty body", [](sim::Options& o) { o.body = sim::BodyFault::empty; }},
        NoAnswer{"garbage", [](sim::Options& o) { o.body = sim::BodyFault::garbage; }},
        NoAnswer{"server error", [](sim::Options& o) { o.status = 500; }},
        NoAnswer{"refused", [](sim::Options& o) { o.refuse_connections = true; }},
        NoAnswer{"no entries", [](sim::Options& o) { o.level1_count = 0; }}));

TEST_F(Level1Load, SuccessfulRetryAnnouncesOnceThenHidesAndDisables) {
    publish(4);
    load_level1_first_visit(host.ctx());
    publish(-1);
    LinkState at_box;
    int boxes = 0;
    net::set_message_box([&](const std::string& text, int style, const std::string& caption) {
        ++boxes;
        at_box = link();
        EXPECT_EQ(text, GBK("获取成功"));
        EXPECT_EQ(style, 0);
        EXPECT_EQ(caption, GBK("信息："));
        return 0;
    });
    retry_level1(host.ctx());
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(at_box.visible);
    EXPECT_TRUE(at_box.enabled);  // disabled only once the box is closed
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    // The retry does not empty the box: the four earlier entries come twice.
    expect_same(shown(), joined(first(all(), 4), all()));
}

TEST_F(Level1Load, FailedRetryShowsTheRetryCaptionAndStaysClickable) {
    publish(2);
    load_level1_first_visit(host.ctx());
    retry_level1(host.ctx());
    EXPECT_EQ(link(), (LinkState{true, true, GBK("获取一级类目名称失败，点击这里重新获取……"),
                                 LinkColour::Red}));
    EXPECT_TRUE(messages.messages().empty());
    expect_same(shown(), joined(first(all(), 2), first(all(), 2)));
    EXPECT_EQ(info_requests(), 2);
}

TEST_F(Level1Load, SecondVisitDuringTheFetchLoadsNothingMore) {
    ProbePump pump([&](int wait) {
        if (wait == 1)
            load_level1_first_visit(host.ctx());
    });
    load_level1_first_visit(host.ctx());
    expect_same(shown(), all());
    EXPECT_EQ(info_requests(), 1);
}

}  // namespace
}  // namespace catalogue
