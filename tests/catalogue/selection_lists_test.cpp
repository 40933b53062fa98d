// The fill operation and the store-selection entry points on the plain view.
#include "catalogue/selection_lists.h"

#include <gtest/gtest.h>

#include "catalogue/category_line.h"
#include "plain_view.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

using catalogue_test::PlainWindow;
using Texts = std::vector<std::string>;

std::string two_lines() {
    return category_line(GBK("女装"), "12") + category_line(GBK("男装"), "13");
}

TEST(SelectionLists, FillGivesNamesAndIdsAndNoChoice) {
    PlainWindow w;
    w.data.level3.buffer = two_lines();
    fill(w.view, w.data, ListKind::Level3);
    EXPECT_EQ(w.items(ListKind::Level3), (Texts{GBK("女装"), GBK("男装")}));
    EXPECT_EQ(w.data.level3.ids, (Texts{"12", "13"}));
    EXPECT_EQ(w.view.box(ListKind::Level3).chosen, -1);
    EXPECT_EQ(w.view.box(ListKind::Level3).text(), "");
}

TEST(SelectionLists, ChoosingALevel3ItemStoresItsId) {
    PlainWindow w;
    w.data.level3.buffer = two_lines();
    fill(w.view, w.data, ListKind::Level3);
    w.choose(ListKind::Level3, 1);
    EXPECT_EQ(w.data.level3.chosen_id, "13");
    w.choose(ListKind::Level3, 0);
    EXPECT_EQ(w.data.level3.chosen_id, "12");
}

TEST(SelectionLists, ChoosingTheThirdTabStoresTheThirdId) {
    PlainWindow w;
    w.data.tabs.buffer =
        category_line("a", "1") + category_line("b", "2") + category_line("c", "3");
    fill(w.view, w.data, ListKind::Tabs);
    w.choose(ListKind::Tabs, 2);
    EXPECT_EQ(w.data.tabs.chosen_id, "3");
}

struct RefillCase {
    const char* name;
    ListKind kind;
    std::size_t items_after_two_fills;
};

class Refill : public ::testing::TestWithParam<RefillCase> {};

TEST_P(Refill, OnlyLevel1IsExtended) {
    PlainWindow w;
    const RefillCase c = GetParam();
    w.data.list(c.kind).buffer = two_lines();
    fill(w.view, w.data, c.kind);
    fill(w.view, w.data, c.kind);
    EXPECT_EQ(w.items(c.kind).size(), c.items_after_two_fills);
    EXPECT_EQ(w.data.list(c.kind).ids.size(), c.items_after_two_fills);
}

INSTANTIATE_TEST_SUITE_P(Lists, Refill,
                         ::testing::Values(RefillCase{"Level1", ListKind::Level1, 4},
                                           RefillCase{"Level2", ListKind::Level2, 2},
                                           RefillCase{"Level3", ListKind::Level3, 2},
                                           RefillCase{"Tabs", ListKind::Tabs, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SelectionLists, ExtendedLevel1ListsBothLoadsInOrderAndKeepsTheChoice) {
    PlainWindow w;
    w.data.level1.buffer = two_lines();
    fill(w.view, w.data, ListKind::Level1);
    w.view.set_chosen(ListKind::Level1, 1);
    w.data.level1.buffer = category_line(GBK("童装"), "14");
    fill(w.view, w.data, ListKind::Level1);
    EXPECT_EQ(w.items(ListKind::Level1), (Texts{GBK("女装"), GBK("男装"), GBK("童装")}));
    EXPECT_EQ(w.data.level1.ids, (Texts{"12", "13", "14"}));
    EXPECT_EQ(w.view.box(ListKind::Level1).chosen, 1);
}

TEST(SelectionLists, RefilledBoxShowsNoTextEvenAfterAChoice) {
    PlainWindow w;
    w.data.tabs.buffer = two_lines();
    fill(w.view, w.data, ListKind::Tabs);
    w.choose(ListKind::Tabs, 1);
    fill(w.view, w.data, ListKind::Tabs);
    EXPECT_EQ(w.view.box(ListKind::Tabs).text(), "");
    EXPECT_EQ(w.data.tabs.chosen_id, "13");
}

TEST(SelectionLists, LinesWithoutIdAreSkippedInBoxAndIdsAlike) {
    PlainWindow w;
    const std::string dash = category_separator();
    w.data.level3.buffer = "abc\r\n\r\n" + dash + "12\r\nx" + dash + "\r\n" + GBK("甲") + dash +
                           GBK("乙") + dash + "7\r\n";
    fill(w.view, w.data, ListKind::Level3);
    EXPECT_EQ(w.items(ListKind::Level3), (Texts{"", GBK("甲") + dash + GBK("乙")}));
    w.choose(ListKind::Level3, 1);
    EXPECT_EQ(w.data.level3.chosen_id, "7");
    w.choose(ListKind::Level3, 0);
    EXPECT_EQ(w.data.level3.chosen_id, "12");
}

TEST(SelectionLists, NoChoiceOrAnIndexPastTheIdsKeepsTheHolder) {
    PlainWindow w;
    w.data.level3.chosen_id = "99";
    store_selection(w.view, w.data, ListKind::Level3);
    EXPECT_EQ(w.data.level3.chosen_id, "99");
    w.view.set_chosen(ListKind::Level3, 0);  // a box ahead of its (empty) id list
    store_selection(w.view, w.data, ListKind::Level3);
    EXPECT_EQ(w.data.level3.chosen_id, "99");
}

TEST(SelectionLists, ClearEmptiesBoxAndIdsButKeepsBufferAndHolder) {
    PlainWindow w;
    w.data.level2.buffer = two_lines();
    fill(w.view, w.data, ListKind::Level2);
    w.choose(ListKind::Level2, 0);
    clear_box(w.view, w.data, ListKind::Level2);
    EXPECT_TRUE(w.items(ListKind::Level2).empty());
    EXPECT_TRUE(w.data.level2.ids.empty());
    EXPECT_EQ(w.data.level2.buffer, two_lines());
    EXPECT_EQ(w.data.level2.chosen_id, "12");
}

TEST(SelectionLists, TenThousandEntriesStayInStep) {
    PlainWindow w;
    std::string buffer;
    for (int i = 0; i < 10000; ++i)
        buffer += category_line(GBK("类目") + std::to_string(i), std::to_string(i));
    w.data.level1.buffer = buffer;
    fill(w.view, w.data, ListKind::Level1);
    ASSERT_EQ(w.items(ListKind::Level1).size(), 10000u);
    w.choose(ListKind::Level1, 9876);
    EXPECT_EQ(w.data.level1.chosen_id, "9876");
    EXPECT_EQ(w.view.box(ListKind::Level1).text(), GBK("类目9876"));
}

struct LoadingCase {
    const char* name;
    std::string buffer;
    bool due;
};

class NeedsLoading : public ::testing::TestWithParam<LoadingCase> {};

TEST_P(NeedsLoading, OnlyWhileTheBufferIsBlank) {
    for (ListKind kind : {ListKind::Level1, ListKind::Tabs}) {
        CatalogueData data;
        data.list(kind).buffer = GetParam().buffer;
        EXPECT_EQ(needs_loading(data, kind), GetParam().due);
    }
}

INSTANTIATE_TEST_SUITE_P(Buffers, NeedsLoading,
                         ::testing::Values(LoadingCase{"Empty", "", true},
                                           LoadingCase{"Spaces", "  ", true},
                                           LoadingCase{"FullWidthSpace", " \xA1\xA1 ", true},
                                           LoadingCase{"OneLine",
                                                       "x\xA1\xAA"
                                                       "1",
                                                       false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace catalogue
