// The fill operation and the store-selection handlers on real combo boxes.
#include "catalogue/selection_lists.h"

#include <gtest/gtest.h>

#include "catalogue/category_line.h"
#include "catalogue_host.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace catalogue {
namespace {

using catalogue_test::CatalogueHost;
using catalogue_test::items;
using Texts = std::vector<std::string>;

std::string two_lines() {
    return category_line(GBK("女装"), "12") + category_line(GBK("男装"), "13");
}

TEST(SelectionLists, FillGivesNamesAndIdsAndNoChoice) {
    CatalogueHost host;
    host.data().编辑框11 = two_lines();
    fill(host.ctx(), ListKind::Level3);
    EXPECT_EQ(items(host.box(3)), (Texts{GBK("女装"), GBK("男装")}));
    EXPECT_EQ(host.data().level3_ids, (Texts{"12", "13"}));
    EXPECT_EQ(host.box(3).currentIndex(), -1);
    EXPECT_TRUE(host.box(3).currentText().isEmpty());
}

TEST(SelectionLists, ChoosingALevel3ItemStoresItsId) {
    CatalogueHost host;
    host.data().编辑框11 = two_lines();
    fill(host.ctx(), ListKind::Level3);
    host.choose(3, 1);
    EXPECT_EQ(host.data().编辑框8, "13");
    host.choose(3, 0);
    EXPECT_EQ(host.data().编辑框8, "12");
}

TEST(SelectionLists, ChoosingTheThirdTabStoresTheThirdId) {
    CatalogueHost host;
    host.data().编辑框14 =
        category_line("a", "1") + category_line("b", "2") + category_line("c", "3");
    fill(host.ctx(), ListKind::Tabs);
    host.choose(4, 2);
    EXPECT_EQ(host.data().编辑框15, "3");
}

struct RefillCase {
    ListKind kind;
    int box;
    std::size_t items_after_two_fills;
};

class Refill : public ::testing::TestWithParam<RefillCase> {};

TEST_P(Refill, OnlyLevel1IsExtended) {
    CatalogueHost host;
    const RefillCase c = GetParam();
    buffer_of(host.data(), c.kind) = two_lines();
    fill(host.ctx(), c.kind);
    fill(host.ctx(), c.kind);
    EXPECT_EQ(items(host.box(c.box)).size(), c.items_after_two_fills);
    EXPECT_EQ(ids_of(host.data(), c.kind).size(), c.items_after_two_fills);
}

INSTANTIATE_TEST_SUITE_P(Lists, Refill,
                         ::testing::Values(RefillCase{ListKind::Level1, 1, 4},
                                           RefillCase{ListKind::Level2, 2, 2},
                                           RefillCase{ListKind::Level3, 3, 2},
                                           RefillCase{ListKind::Tabs, 4, 2}));

TEST(SelectionLists, ExtendedLevel1ListsBothLoadsInOrderAndKeepsTheChoice) {
    CatalogueHost host;
    host.data().编辑框9 = two_lines();
    fill(host.ctx(), ListKind::Level1);
    host.box(1).setCurrentIndex(1);
    host.data().编辑框9 = category_line(GBK("童装"), "14");
    fill(host.ctx(), ListKind::Level1);
    EXPECT_EQ(items(host.box(1)), (Texts{GBK("女装"), GBK("男装"), GBK("童装")}));
    EXPECT_EQ(host.data().level1_ids, (Texts{"12", "13", "14"}));
    EXPECT_EQ(host.box(1).currentIndex(), 1);
}

TEST(SelectionLists, RefilledBoxShowsNoTextEvenAfterAChoice) {
    CatalogueHost host;
    host.data().编辑框14 = two_lines();
    fill(host.ctx(), ListKind::Tabs);
    host.choose(4, 1);
    fill(host.ctx(), ListKind::Tabs);
    EXPECT_TRUE(host.box(4).currentText().isEmpty());
    EXPECT_EQ(host.data().编辑框15, "13");
}

TEST(SelectionLists, LinesWithoutIdAreSkippedInBoxAndIdsAlike) {
    CatalogueHost host;
    const std::string dash = category_separator();
    host.data().编辑框11 = "abc\r\n\r\n" + dash + "12\r\nx" + dash + "\r\n" + GBK("甲") + dash +
                           GBK("乙") + dash + "7\r\n";
    fill(host.ctx(), ListKind::Level3);
    EXPECT_EQ(items(host.box(3)), (Texts{"", GBK("甲") + dash + GBK("乙")}));
    host.choose(3, 1);
    EXPECT_EQ(host.data().编辑框8, "7");
    host.choose(3, 0);
    EXPECT_EQ(host.data().编辑框8, "12");
}

TEST(SelectionLists, NoChoiceKeepsTheHolder) {
    CatalogueHost host;
    host.data().编辑框8 = "99";
    store_selection(host.ctx(), ListKind::Level3);
    EXPECT_EQ(host.data().编辑框8, "99");
}

TEST(SelectionLists, TenThousandEntriesStayInStep) {
    CatalogueHost host;
    std::string buffer;
    for (int i = 0; i < 10000; ++i)
        buffer += category_line(GBK("类目") + std::to_string(i), std::to_string(i));
    host.data().编辑框9 = buffer;
    fill(host.ctx(), ListKind::Level1);
    ASSERT_EQ(host.box(1).count(), 10000);
    host.box(1).setCurrentIndex(9876);
    store_selection(host.ctx(), ListKind::Level1);
    EXPECT_EQ(host.data().编辑框6, "9876");
    EXPECT_EQ(ui::read_text(&host.box(1)), GBK("类目9876"));
}

}  // namespace
}  // namespace catalogue
