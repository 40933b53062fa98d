// The catalogue in the real main window (offscreen): the window's view of the
// combo boxes and status links, the binding of user choices, and first visits
// and choices against the simulator ending in a category query.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <optional>

#include "catalogue/category_line.h"
#include "catalogue/selection_lists.h"
#include "qt/test_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/design_tab_widget.h"
#include "ui/transparent_label.h"
#include "ui/widget_text.h"

namespace {

using catalogue::Link;
using catalogue::LinkColour;
using catalogue::LinkState;
using catalogue::ListKind;

QColor text_colour(const QWidget* widget) {
    return widget->palette().color(QPalette::WindowText);
}

TEST(WindowCatalogueView, AFilledBoxShowsNoChoiceAndAnExtendedOneKeepsIt) {
    qt_test::TestWindow w;
    catalogue::CatalogueView& view = w.window.catalogue_view();
    view.append_names(ListKind::Level2, {GBK("女装"), GBK("男装")});
    EXPECT_EQ(w.window.组合框2->count(), 2);
    EXPECT_EQ(w.window.组合框2->currentIndex(), -1);
    EXPECT_TRUE(w.window.组合框2->currentText().isEmpty());

    w.window.组合框1->addItem(QStringLiteral("a"));
    w.window.组合框1->setCurrentIndex(0);
    view.append_names(ListKind::Level1, {GBK("童装")});
    EXPECT_EQ(view.chosen_index(ListKind::Level1), 0);
    EXPECT_EQ(ui::from_qstring(w.window.组合框1->itemText(1)), GBK("童装"));

    view.clear_box(ListKind::Level1);
    EXPECT_EQ(w.window.组合框1->count(), 0);
    EXPECT_EQ(view.chosen_index(ListKind::Level1), -1);
}

TEST(WindowCatalogueView, LinksTakeColourCaptionAndStateAndKeepTheirColourWhenUnchanged) {
    qt_test::TestWindow w;
    catalogue::CatalogueView& view = w.window.catalogue_view();
    view.show_link(Link::category, {true, false, GBK("一级类目获取中……"), LinkColour::Blue});
    EXPECT_FALSE(w.window.透明标签1->isHidden());
    EXPECT_FALSE(w.window.透明标签1->isEnabled());
    EXPECT_EQ(ui::read_text(w.window.透明标签1), GBK("一级类目获取中……"));
    EXPECT_EQ(text_colour(w.window.透明标签1), QColor(0, 0, 255));

    view.show_link(Link::tabs, {true, true, "x", LinkColour::Red});
    EXPECT_EQ(text_colour(w.window.透明标签2), QColor(255, 0, 0));
    EXPECT_TRUE(w.window.透明标签2->isEnabled());
    view.show_link(Link::tabs, {false, true, "x", LinkColour::Unchanged});
    EXPECT_TRUE(w.window.透明标签2->isHidden());
    EXPECT_EQ(text_colour(w.window.透明标签2), QColor(255, 0, 0));
    EXPECT_EQ(text_colour(w.window.透明标签1), QColor(0, 0, 255));
}

TEST(WindowCatalogueBinding, OnlyAUsersChoiceStoresTheId) {
    qt_test::TestWindow w;
    catalogue::CatalogueData& lists = w.data.catalogue;
    lists.tabs.buffer = catalogue::category_line("a", "1") + catalogue::category_line("b", "2");
    catalogue::fill(w.window.catalogue_view(), lists, ListKind::Tabs);
    w.window.组合框4->setCurrentIndex(1);  // the program's own change: no choice
    EXPECT_EQ(lists.tabs.chosen_id, "");
    emit w.window.组合框4->activated(1);
    EXPECT_EQ(lists.tabs.chosen_id, "2");
}

class WindowCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(server.start());
        hosts.emplace(server.host());
        w.window.show();
    }

    static sim::Options on_any_port() {
        sim::Options options;
        options.port = 0;
        return options;
    }

    int requests_to(const std::string& target) const {
        const auto all = server.requests();
        return static_cast<int>(std::count_if(all.begin(), all.end(),
                                              [&](const auto& r) { return r.target == target; }));
    }

    // A user's choice of the item carrying `id`.
    void choose(QComboBox* box, const std::vector<std::string>& ids, const std::string& id) {
        const auto it = std::find(ids.begin(), ids.end(), id);
        ASSERT_NE(it, ids.end()) << id;
        const int index = static_cast<int>(it - ids.begin());
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    sim::Server server{on_any_port()};
    sim::Catalogue truth{server.options().seed};
    std::optional<qt_test::ScopedHosts> hosts;  // once the server has its port
    qt_test::RecordingMessageBox messages;
    qt_test::ScopedQtEventPump pump;
    qt_test::TestWindow w;
};

TEST_F(WindowCatalogue, FailedFirstVisitShowsARedLinkWhoseClickLoadsAndAnnounces) {
    sim::Options options = server.options();
    options.level1_count = 4;
    server.set_options(options);
    w.window.选择夹1->setCurrentIndex(1);
    EXPECT_FALSE(w.window.透明标签1->isHidden());
    EXPECT_EQ(text_colour(w.window.透明标签1), QColor(255, 0, 0));
    ASSERT_EQ(w.window.组合框1->count(), 4);

    options.level1_count = -1;
    server.set_options(options);
    QTest::mouseClick(w.window.透明标签1, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, GBK("获取成功"));
    EXPECT_TRUE(w.window.透明标签1->isHidden());
    EXPECT_FALSE(w.window.透明标签1->isEnabled());
    EXPECT_EQ(w.window.组合框1->count(), 4 + static_cast<int>(truth.level1().size()));
    QTest::mouseClick(w.window.透明标签1, Qt::LeftButton);  // disabled: nothing happens
    EXPECT_EQ(requests_to("/info.asp?id=70"), 2);
}

TEST_F(WindowCatalogue, ChoicesInTheBoxesFeedTheCategoryQuery) {
    const auto sample = truth.sample_categories();
    const catalogue::CatalogueData& lists = w.data.catalogue;
    w.window.选择夹1->setCurrentIndex(1);
    EXPECT_EQ(w.window.组合框1->count(), static_cast<int>(truth.level1().size()));
    EXPECT_TRUE(w.window.组合框1->currentText().isEmpty());
    choose(w.window.组合框1, lists.level1.ids, sample[0].id);
    EXPECT_TRUE(w.window.组合框2->currentText().isEmpty());
    choose(w.window.组合框2, lists.level2.ids, sample[1].id);
    choose(w.window.组合框3, lists.level3.ids, sample[2].id);
    EXPECT_EQ(lists.level3.chosen_id, sample[2].id);

    ui::write_text(w.window.编辑框12, std::string(sim::kSampleGoodsId));
    QTest::mouseClick(w.window.按钮类目排名搜索, Qt::LeftButton);
    std::string want;
    const char* level_names[] = {"一级类目排名：", "二级类目排名：", "三级类目排名："};
    for (int level = 0; level < 3; ++level) {
        const int rank = sim::expected_position(sim::ListingKind::category,
                                                truth.category_listing(sample[level].id),
                                                sim::kSampleGoodsId, server.options());
        want += text::utf8_to_gbk(level_names[level]);
        want += rank > 0 ? GBK("第") + std::to_string(rank) + GBK("名") : GBK("前1000名没有找到");
        want += "\r\n\r\n";
    }
    EXPECT_EQ(ui::read_text(w.window.编辑框13), want);
    EXPECT_EQ(requests_to("/info.asp?id=70"), 1);
}

}  // namespace
