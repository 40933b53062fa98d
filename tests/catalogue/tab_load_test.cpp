// The 爱逛街 tab list against the simulator.
#include <gtest/gtest.h>

#include <optional>

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

class TabLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        w.data.hosts = test::all_hosts_on(server.host());
    }

    void publish(int tab_count) {
        sim::Options options = server.options();
        options.tab_count = tab_count;
        server.set_options(options);
    }

    Expected all() const { return expected(sim::Catalogue(server.options().seed).tabs()); }
    Expected shown() const { return Expected{w.items(ListKind::Tabs), w.data.tabs.ids}; }
    LinkState link() const { return w.view.link(Link::tabs); }

    sim::Server server{on_any_port()};
    PlainWindow w;
};

void expect_same(const Expected& got, const Expected& want) {
    EXPECT_EQ(got.names, want.names);
    EXPECT_EQ(got.ids, want.ids);
}

const LinkState kTabsFailed{true, true, GBK("获取类目失败，点击这里重新获取…"), LinkColour::Red};

TEST_F(TabLoad, FirstVisitListsEveryTabInOrder) {
    ASSERT_GE(all().ids.size(), 3u);
    std::vector<LinkState> during;
    ProbePump pump([&](int) { during.push_back(link()); });
    w.load_tabs();
    expect_same(shown(), all());
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0], (LinkState{true, false, GBK("爱逛街类目获取中…"), LinkColour::Blue}));
    EXPECT_FALSE(link().visible);
    EXPECT_TRUE(w.view.messages().empty());
    EXPECT_EQ(w.view.box(ListKind::Tabs).chosen, -1);
    EXPECT_EQ(w.view.link(Link::category), LinkState{});
}

TEST_F(TabLoad, ChoosingTheThirdTabStoresItsId) {
    w.load_tabs();
    w.choose(ListKind::Tabs, 2);
    EXPECT_EQ(w.data.tabs.chosen_id, all().ids[2]);
}

TEST_F(TabLoad, ASingleTabFails) {
    publish(1);
    w.load_tabs();
    expect_same(shown(), first(all(), 1));
    EXPECT_EQ(link(), kTabsFailed);
}

TEST_F(TabLoad, NoAnswerFailsAndKeepsTheBufferBlank) {
    sim::Options options = server.options();
    options.body = sim::BodyFault::empty;
    server.set_options(options);
    w.load_tabs();
    EXPECT_EQ(w.data.tabs.buffer, "");
    EXPECT_EQ(link(), kTabsFailed);
}

TEST_F(TabLoad, SuccessfulRetryAppendsAnnouncesOnceAndDisablesTheLink) {
    publish(1);
    w.load_tabs();
    publish(-1);
    w.retry_tabs();
    ASSERT_EQ(w.view.messages().size(), 1u);
    const ShownMessage& box = w.view.messages()[0];
    EXPECT_EQ(box.text, GBK("获取成功"));
    EXPECT_EQ(box.style, 0);
    EXPECT_EQ(box.caption, GBK("信息："));
    EXPECT_FALSE(box.tab_link.visible);
    EXPECT_TRUE(box.tab_link.enabled);
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    expect_same(shown(), joined(first(all(), 1), all()));
}

TEST_F(TabLoad, FailedRetryKeepsTheFailureCaption) {
    publish(0);
    w.load_tabs();
    w.retry_tabs();
    EXPECT_EQ(link(), kTabsFailed);
    EXPECT_TRUE(w.view.messages().empty());
    EXPECT_TRUE(w.items(ListKind::Tabs).empty());
}

TEST_F(TabLoad, RetryClickDuringALoadStartsNoSecondLoad) {
    ProbePump pump([&](int wait) {
        if (wait == 1)
            w.retry_tabs();
    });
    w.load_tabs();
    expect_same(shown(), all());
    EXPECT_EQ(pump.waits(), 1);
    EXPECT_FALSE(w.data.loads.tabs_running);
}

TEST_F(TabLoad, WindowClosedDuringTheFetchIsLeftAlone) {
    ProbePump pump([&](int) { w.view.close(); });
    w.load_tabs();
    EXPECT_TRUE(w.items(ListKind::Tabs).empty());
    EXPECT_EQ(w.data.tabs.buffer, "");
    EXPECT_EQ(link().caption, GBK("爱逛街类目获取中…"));
}

}  // namespace
}  // namespace catalogue
