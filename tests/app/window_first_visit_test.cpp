// First-visit loading of 选择夹1: which page openings load which list.
#include <gtest/gtest.h>

#include <ostream>

#include "qt/test_window.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"

namespace {

struct Calls {
    int level1 = 0;
    int tabs = 0;
    int page_seen_by_level1 = -1;
    int page_seen_by_tabs = -1;
};

// A window whose first-visit loaders only count (and may run `during_level1`).
struct CountingWindow {
    explicit CountingWindow(std::function<void(app::MainWindow&)> during_level1 = {},
                            std::string tabs_fill = {}) {
        app::WindowOptions options = qt_test::test_window_options();
        options.first_visit.level1 = [this, during_level1](catalogue::CatalogueView&,
                                                           catalogue::CatalogueData&) {
            ++calls.level1;
            calls.page_seen_by_level1 = w->window.选择夹1->currentIndex();
            if (during_level1)
                during_level1(w->window);
        };
        options.first_visit.tabs = [this, tabs_fill](catalogue::CatalogueView&,
                                                     catalogue::CatalogueData& lists) {
            ++calls.tabs;
            calls.page_seen_by_tabs = w->window.选择夹1->currentIndex();
            lists.tabs.buffer = tabs_fill;
        };
        w = std::make_unique<qt_test::TestWindow>(std::move(options));
    }
    void open(int page) {
        // Leave the page first, so opening it again is a change.
        w->window.选择夹1->setCurrentIndex(page == 0 ? 3 : 0);
        w->window.选择夹1->setCurrentIndex(page);
    }
    Calls calls;
    std::unique_ptr<qt_test::TestWindow> w;
};

struct VisitCase {
    const char* name;
    int page;
    std::string level1_buffer;
    std::string tabs_buffer;
    int level1_loads;
    int tab_loads;
};

// Test names and failure messages show the case name, not its bytes.
void PrintTo(const VisitCase& c, std::ostream* os) {
    *os << c.name;
}

class FirstVisit : public ::testing::TestWithParam<VisitCase> {};

TEST_P(FirstVisit, LoadsOnlyWhenThePagesBufferIsEmpty) {
    const VisitCase& c = GetParam();
    CountingWindow cw;
    cw.w->data.catalogue.level1.buffer = c.level1_buffer;
    cw.w->data.catalogue.tabs.buffer = c.tabs_buffer;
    cw.open(c.page);
    EXPECT_EQ(cw.calls.level1, c.level1_loads);
    EXPECT_EQ(cw.calls.tabs, c.tab_loads);
    EXPECT_EQ(cw.w->window.选择夹1->currentIndex(), c.page);
    if (c.level1_loads > 0) {
        EXPECT_EQ(cw.calls.page_seen_by_level1, 1);
    }
    if (c.tab_loads > 0) {
        EXPECT_EQ(cw.calls.page_seen_by_tabs, 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, FirstVisit,
                         ::testing::Values(VisitCase{"CategoryPageEmpty", 1, "", "", 1, 0},
                                           VisitCase{"CategoryPageBlanksOnly", 1, " \xA1\xA1 ", "",
                                                     1, 0},
                                           VisitCase{"CategoryPageLoaded", 1,
                                                     "x\xA1\xAA"
                                                     "1",
                                                     "", 0, 0},
                                           VisitCase{"TabPageEmpty", 2, "", "", 0, 1},
                                           VisitCase{"TabPageBlanksOnly", 2, "", "  ", 0, 1},
                                           VisitCase{"TabPageLoaded", 2, "",
                                                     "t\xA1\xAA"
                                                     "9",
                                                     0, 0},
                                           VisitCase{"KeywordPage", 0, "", "", 0, 0},
                                           VisitCase{"NewGoodsPage", 3, "", "", 0, 0},
                                           VisitCase{"ToolsPage", 4, "", "", 0, 0},
                                           VisitCase{"TutorialPage", 5, "", "", 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FirstVisitAgain, ALoadThatFailedIsTriedAgainOnTheNextVisit) {
    CountingWindow cw;
    cw.open(1);  // the load leaves the level-1 buffer empty, as a failed load does
    cw.open(1);
    EXPECT_EQ(cw.calls.level1, 2);
    cw.w->data.catalogue.level1.buffer = GBK("女装—1");
    cw.open(1);
    EXPECT_EQ(cw.calls.level1, 2);
}

TEST(FirstVisitAgain, TabPageOpenedDuringTheCategoryLoadLoadsItsListOnce) {
    // The user switches to 爱逛街排名 while the level-1 list is being fetched.
    CountingWindow cw([](app::MainWindow& window) { window.选择夹1->setCurrentIndex(2); },
                      GBK("推荐—1"));
    cw.open(1);
    EXPECT_EQ(cw.calls.level1, 1);
    EXPECT_EQ(cw.calls.tabs, 1);
    EXPECT_EQ(cw.w->window.选择夹1->currentIndex(), 2);
}

TEST(FirstVisitAgain, AFailedTabLoadDuringTheCategoryLoadIsRetriedAfterIt) {
    // The nested visit's load leaves the tab buffer empty; the outer handler then
    // finds page 2 current with an empty buffer and loads once more.
    CountingWindow cw([](app::MainWindow& window) { window.选择夹1->setCurrentIndex(2); });
    cw.open(1);
    EXPECT_EQ(cw.calls.tabs, 2);
}

}  // namespace
