#include "catalogue/status_link.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace catalogue {
namespace {

const LinkState kAtStart{false, false, "", LinkColour::Unchanged};

TEST(StatusLink, LoadingShowsBlueCaptionAndKeepsEnabled) {
    for (bool enabled : {false, true}) {
        LinkState link = kAtStart;
        link.enabled = enabled;
        const LinkState next = loading(link, level1_loading_caption());
        EXPECT_EQ(next, (LinkState{true, enabled, GBK("一级类目获取中……"), LinkColour::Blue}));
    }
}

struct Level1Case {
    int lines;
    LinkState expected;
};

class Level1FirstVisit : public ::testing::TestWithParam<Level1Case> {};

TEST_P(Level1FirstVisit, FollowsTheThresholdOfFiveLines) {
    const LinkState during = loading(kAtStart, level1_loading_caption());
    EXPECT_EQ(after_level1_first_visit(during, GetParam().lines), GetParam().expected);
}

const LinkState kFirstFailed{true, true, GBK("获取类目名称失败，点击这里重新获取…"),
                             LinkColour::Red};
const LinkState kLoadedHidden{false, false, GBK("一级类目获取中……"), LinkColour::Blue};

INSTANTIATE_TEST_SUITE_P(Lines, Level1FirstVisit,
                         ::testing::Values(Level1Case{0, kFirstFailed}, Level1Case{1, kFirstFailed},
                                           Level1Case{4, kFirstFailed},
                                           Level1Case{5, kLoadedHidden},
                                           Level1Case{500, kLoadedHidden}));

TEST(StatusLink, FailedLevel1RetryShowsRetryCaptionAndStaysEnabled) {
    const RetryOutcome outcome = after_level1_retry(kFirstFailed, 4);
    EXPECT_FALSE(outcome.announce_success);
    EXPECT_EQ(outcome.link, (LinkState{true, true, GBK("获取一级类目名称失败，点击这里重新获取……"),
                                       LinkColour::Red}));
}

TEST(StatusLink, SuccessfulLevel1RetryHidesThenDisablesAfterTheBox) {
    const RetryOutcome outcome = after_level1_retry(kFirstFailed, 5);
    EXPECT_TRUE(outcome.announce_success);
    EXPECT_FALSE(outcome.link.visible);
    EXPECT_TRUE(outcome.link.enabled);
    const LinkState closed = after_success_box(outcome.link);
    EXPECT_FALSE(closed.visible);
    EXPECT_FALSE(closed.enabled);
}

TEST(StatusLink, SubLevelLoadKeepsTheLevel1RetryClickable) {
    const LinkState during = loading(kFirstFailed, level2_loading_caption());
    EXPECT_TRUE(during.enabled);
    EXPECT_EQ(during.caption, GBK("二级类目获取中……"));
    EXPECT_EQ(during.colour, LinkColour::Blue);
    EXPECT_TRUE(hidden(during).enabled);
    EXPECT_EQ(level3_loading_caption(), GBK("三级类目获取中……"));
}

class TabsLoad : public ::testing::TestWithParam<int> {};

TEST_P(TabsLoad, FailsBelowTwoLines) {
    const int lines = GetParam();
    const LinkState next = after_tabs_load(loading(kAtStart, tabs_loading_caption()), lines);
    if (lines >= 2) {
        EXPECT_EQ(next, (LinkState{false, false, GBK("爱逛街类目获取中…"), LinkColour::Blue}));
    } else {
        EXPECT_EQ(next,
                  (LinkState{true, true, GBK("获取类目失败，点击这里重新获取…"), LinkColour::Red}));
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, TabsLoad, ::testing::Values(0, 1, 2, 3, 40));

TEST(StatusLink, TabsRetryAnnouncesSuccessOnlyFromTwoLines) {
    const LinkState failed = after_tabs_load(kAtStart, 1);
    EXPECT_FALSE(after_tabs_retry(after_tabs_load(failed, 1), 1).announce_success);
    EXPECT_TRUE(after_tabs_retry(after_tabs_load(failed, 2), 2).link.visible == false);
    EXPECT_TRUE(after_tabs_retry(after_tabs_load(failed, 2), 2).announce_success);
}

TEST(StatusLink, MessageTextsAreTheProgramsOwn) {
    EXPECT_EQ(success_message(), GBK("获取成功"));
    EXPECT_EQ(message_caption(), GBK("信息："));
}

}  // namespace
}  // namespace catalogue
