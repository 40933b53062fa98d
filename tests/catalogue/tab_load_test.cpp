// The 爱逛街 tab list against the simulator.
#include <gtest/gtest.h>

#include <optional>

#include "catalogue/catalogue_handlers.h"
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

class TabLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        hosts.emplace(server.host());
    }

    void publish(int tab_count) {
        sim::Options options = server.options();
        options.tab_count = tab_count;
        server.set_options(options);
    }

    Expected all() const { return expected(sim::Catalogue(server.options().seed).tabs()); }
    Expected shown() { return Expected{items(host.box(4)), host.data().tab_ids}; }
    LinkState link() { return read_link(host.link(2)); }

    sim::Server server{on_any_port()};
    std::optional<qt_test::ScopedHosts> hosts;  // once the server has its port
    qt_test::RecordingMessageBox messages;
    CatalogueHost host;
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
    load_tabs_first_visit(host.ctx());
    expect_same(shown(), all());
    ASSERT_EQ(during.size(), 1u);
    EXPECT_EQ(during[0], (LinkState{true, false, GBK("爱逛街类目获取中…"), LinkColour::Blue}));
    EXPECT_FALSE(link().visible);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(host.box(4).currentIndex(), -1);
}

TEST_F(TabLoad, ChoosingTheThirdTabStoresItsId) {
    load_tabs_first_visit(host.ctx());
    host.choose(4, 2);
    EXPECT_EQ(host.data().编辑框15, all().ids[2]);
}

TEST_F(TabLoad, ASingleTabFails) {
    publish(1);
    load_tabs_first_visit(host.ctx());
    expect_same(shown(), first(all(), 1));
    EXPECT_EQ(link(), kTabsFailed);
    EXPECT_EQ(host.link(2).palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(TabLoad, NoAnswerFailsAndKeepsTheBufferBlank) {
    sim::Options options = server.options();
    options.body = sim::BodyFault::empty;
    server.set_options(options);
    load_tabs_first_visit(host.ctx());
    EXPECT_EQ(host.data().编辑框14, "");
    EXPECT_EQ(link(), kTabsFailed);
}

TEST_F(TabLoad, SuccessfulRetryAppendsAnnouncesOnceAndDisablesTheLink) {
    publish(1);
    load_tabs_first_visit(host.ctx());
    publish(-1);
    int boxes = 0;
    LinkState at_box;
    net::set_message_box([&](const std::string& text, int style, const std::string& caption) {
        ++boxes;
        at_box = link();
        EXPECT_EQ(text, GBK("获取成功"));
        EXPECT_EQ(style, 0);
        EXPECT_EQ(caption, GBK("信息："));
        return 0;
    });
    retry_tabs(host.ctx());
    EXPECT_EQ(boxes, 1);
    EXPECT_FALSE(at_box.visible);
    EXPECT_TRUE(at_box.enabled);
    EXPECT_FALSE(link().visible);
    EXPECT_FALSE(link().enabled);
    expect_same(shown(), joined(first(all(), 1), all()));
}

TEST_F(TabLoad, FailedRetryKeepsTheFailureCaption) {
    publish(0);
    load_tabs_first_visit(host.ctx());
    retry_tabs(host.ctx());
    EXPECT_EQ(link(), kTabsFailed);
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(host.box(4).count(), 0);
}

TEST_F(TabLoad, RetryClickDuringALoadStartsNoSecondLoad) {
    ProbePump pump([&](int wait) {
        if (wait == 1)
            retry_tabs(host.ctx());
    });
    load_tabs_first_visit(host.ctx());
    expect_same(shown(), all());
    EXPECT_EQ(pump.waits(), 1);
}

}  // namespace
}  // namespace catalogue
