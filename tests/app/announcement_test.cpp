// The announcement: cut out of the vendor page, made GBK, "&nbsp;" made a
// space, shown in 编辑框20; nothing shown when anything fails.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <string>

#include "app/announcement.h"
#include "app/startup_steps.h"
#include "text/codepage.h"
#include "text/lines.h"
#include "ui/widget_text.h"
#include "update_fixture.h"

namespace {

struct PageCase {
    const char* name;
    std::string page;
    std::string text;  // UTF-8, before "&nbsp;" is replaced
};

class AnnouncementText : public ::testing::TestWithParam<PageCase> {};

TEST_P(AnnouncementText, CutsBetweenMarkersAsGbk) {
    EXPECT_EQ(app::announcement_text(GetParam().page), text::utf8_to_gbk(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, AnnouncementText,
    ::testing::Values(PageCase{"Plain", "<p>gonggao[今天休息]jiesu</p>", "今天休息"},
                      PageCase{"MarkersInCapitals", "GONGGAO[通知]JIESU", "通知"},
                      PageCase{"MissingEndMarker", "gonggao[通知没有结尾", ""},
                      PageCase{"MissingStartMarker", "通知]jiesu", ""},
                      PageCase{"FirstPairOnly", "gonggao[一]jiesu gonggao[二]jiesu", "一"},
                      PageCase{"EntityKeptUntilShown", "gonggao[a&nbsp;b]jiesu", "a&nbsp;b"},
                      PageCase{"OddCountOfChineseBeforeEndMarker", "新gonggao[三个字]jiesu",
                               "三个字"},
                      PageCase{"EmptyPage", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AnnouncementSpaces, EntityInAnyCaseBecomesOneSpace) {
    EXPECT_EQ(app::with_plain_spaces("a&nbsp;b&NBSP;c&NbSp;d"), "a b c d");
    EXPECT_EQ(app::with_plain_spaces("&nbsp;&nbsp;"), "  ");
    EXPECT_EQ(app::with_plain_spaces("&nbsp"), "&nbsp");
}

struct ShownCase {
    const char* name;
    std::string announcement;  // UTF-8, as the vendor publishes it
    std::string shown;         // UTF-8, as 编辑框20 holds it (CR LF line ends)
    int lines;
};

class AnnouncementShown : public startup_test::SimulatorTest,
                          public ::testing::WithParamInterface<ShownCase> {};

TEST_P(AnnouncementShown, InTheRedBox) {
    sim::Options options;
    options.announcement = GetParam().announcement;
    start_simulator(options);
    app::MainWindow& w = bare_window();
    app::show_announcement(w.context());
    const std::string shown = ui::read_text(w.编辑框20);
    EXPECT_EQ(shown, text::utf8_to_gbk(GetParam().shown));
    EXPECT_EQ(text::line_count(shown), GetParam().lines);
    EXPECT_EQ(count_requests("/info.asp"), 1);
    EXPECT_TRUE(boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnnouncementShown,
    ::testing::Values(ShownCase{"EntityBetweenWords", "新版&nbsp;上线", "新版 上线", 1},
                      ShownCase{"EntityInCapitals", "新版&NBSP;上线", "新版 上线", 1},
                      ShownCase{"LineBreaksKept", "第一行\r\n第二行\r\n第三行",
                                "第一行\r\n第二行\r\n第三行", 3},
                      ShownCase{"LfBreaksShownAsLines", "甲\n乙", "甲\r\n乙", 2}),
    [](const auto& info) { return std::string(info.param.name); });

using AnnouncementFailure = startup_test::SimulatorTest;

TEST_F(AnnouncementFailure, NoNetworkLeavesBoxEmptyAndWindowShows) {
    use_unreachable_vendor();
    app::MainWindow& w = bare_window();
    ui::write_text(w.编辑框20, "stale");
    app::show_announcement(w.context());
    EXPECT_EQ(ui::read_text(w.编辑框20), "");
    EXPECT_TRUE(boxes.empty());
    w.show();
    EXPECT_TRUE(w.isVisible());
}

TEST_F(AnnouncementFailure, ErrorPageShowsNothing) {
    sim::Options options;
    options.fault_path = "/info.asp";
    options.status = 500;
    start_simulator(options);
    app::MainWindow& w = bare_window();
    app::show_announcement(w.context());
    EXPECT_EQ(ui::read_text(w.编辑框20), "");
}

}  // namespace
