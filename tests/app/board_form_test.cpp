// The board's definition form (offscreen): categories and tabs kept by id and
// shown by name, goods names beside their lines, the schedule's minimum, the
// notice channels and the daily report, and a compact size with whole captions.
#include "app/board_form.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "app/board_window.h"
#include "app/channel_checks.h"
#include "app/name_picker.h"
#include "app/tracker.h"
#include "catalogue/category_line.h"
#include "catalogue/selection_lists.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

using catalogue::CategoryEntry;

std::string gbk(const char* utf8) {
    return text::utf8_to_gbk(utf8);
}

app::CatalogueChoices loaded_lists() {
    app::CatalogueChoices lists;
    lists.levels[0] = {{gbk("食品"), "14"}, {gbk("女装"), "15"}};
    lists.levels[1] = {{gbk("零食"), "2001"}, {gbk("其他"), "2002"}};
    lists.levels[2] = {{gbk("辣条"), "3001"}, {gbk("其他"), "3002"}};
    lists.tabs = {{gbk("推荐"), "1"}, {gbk("女装"), "7"}};
    lists.level2_parent = "14";
    lists.level3_parent = "2001";
    return lists;
}

// The menu entry named `name`, looked for in the menu and its submenus.
QAction* menu_entry(QMenu* menu, const QString& name) {
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr) {
            if (QAction* inner = menu_entry(action->menu(), name))
                return inner;
        } else if (action->text() == name) {
            return action;
        }
    }
    return nullptr;
}

board::Board sample_board() {
    board::Board b;
    b.name = gbk("辣条日常");
    b.own = {{"4033138", {}, gbk("辣条大礼包"), gbk("味道工坊零食旗舰店")}};
    b.competitors = {{"96919329", "http://m.example/goods2.html?goods_id=96919329", gbk("麻辣条"),
                      gbk("老街小吃")}};
    b.keywords = {gbk("辣条")};
    b.category_ids = {"3001", "99"};
    b.tab_id.emplace(1, '7');
    b.schedule = board::Schedule{true, 30, 9 * 60, 21 * 60, board::kEveryDay};
    b.channels = {gbk("运营群"), gbk("旧群")};
    b.report_minute = 18 * 60 + 30;
    return b;
}

class BoardFormTest : public testing::Test {
  protected:
    BoardFormTest() {
        form.show_message = [this](const QString& m) { messages << m; };
    }
    app::BoardForm form;
    QStringList messages;
};

// Stored ids show as names once the lists are loaded; typed names, bracketed
// ids and bare numbers all come back as ids; what names nothing is kept as
// typed, so the board refuses it.
TEST_F(BoardFormTest, CategoriesAndTabsAreKeptByIdAndShownByName) {
    struct Case {
        bool lists;
        const char* typed_categories;
        const char* typed_tab;
        std::vector<std::string> categories;
        std::optional<std::string> tab;
    };
    const Case cases[] = {
        {true, "食品、辣条", "女装", {"14", "3001"}, "7"},
        {true, "其他（3002）, 12 13", "推荐", {"3002", "12", "13"}, "1"},
        {true, "零食 99", "", {"2001", "99"}, std::nullopt},
        {true, "辣子 99", "12 13", {gbk("辣子"), "99"}, "12 13"},
        {false, "14 15", "8", {"14", "15"}, "8"},
        {false, "食品", "推荐", {gbk("食品")}, gbk("推荐")},
    };
    for (const Case& c : cases) {
        app::BoardForm fresh;
        if (c.lists)
            fresh.set_catalogue(loaded_lists());
        fresh.编辑框看板类目->setText(QString::fromUtf8(c.typed_categories));
        fresh.编辑框看板爱逛街->setText(QString::fromUtf8(c.typed_tab));
        const board::Board b = fresh.board();
        EXPECT_EQ(b.category_ids, c.categories) << c.typed_categories;
        EXPECT_EQ(b.tab_id, c.tab) << c.typed_tab;
    }
    const board::Board stored = sample_board();
    form.show_board(stored);
    EXPECT_EQ(form.编辑框看板类目->text(), QStringLiteral("3001、99"));  // nothing loaded yet
    EXPECT_EQ(form.编辑框看板爱逛街->text(), QStringLiteral("7"));
    form.set_catalogue(loaded_lists());
    EXPECT_EQ(form.编辑框看板类目->text(), QStringLiteral("辣条、99"));
    EXPECT_EQ(form.编辑框看板爱逛街->text(), QStringLiteral("女装"));
    EXPECT_EQ(form.board().category_ids, stored.category_ids);
    EXPECT_EQ(form.board().tab_id, stored.tab_id);

    // Chosen from the menu (level 2 under its level 1): a name shared by two
    // entries carries its id; the board keeps the names it was chosen by.
    QAction* other = menu_entry(form.类目选择->menu(), QStringLiteral("选择“其他”"));
    ASSERT_NE(other, nullptr);
    other->trigger();
    EXPECT_EQ(form.编辑框看板类目->text(), QStringLiteral("辣条、99、其他（2002）"));
    EXPECT_EQ(form.board().category_ids, (std::vector<std::string>{"3001", "99", "2002"}));
    EXPECT_EQ(form.board().category_names,
              (std::map<std::string, std::string>{{"2002", gbk("其他")}, {"3001", gbk("辣条")}}));
    menu_entry(form.爱逛街选择->menu(), QStringLiteral("推荐"))->trigger();
    EXPECT_EQ(form.board().tab_id, "1");
    EXPECT_EQ(form.board().tab_name, gbk("推荐"));

    // A later list replaces the menu; names seen before still show, and a
    // board reopened elsewhere shows the names it keeps.
    app::CatalogueChoices later;
    later.levels[0] = loaded_lists().levels[0];
    form.set_catalogue(later);
    EXPECT_EQ(form.编辑框看板类目->text(), QStringLiteral("辣条、99、其他（2002）"));
    app::BoardForm elsewhere;
    elsewhere.show_board(form.board());
    EXPECT_EQ(elsewhere.编辑框看板类目->text(), QStringLiteral("辣条、99、其他"));
    EXPECT_EQ(elsewhere.编辑框看板爱逛街->text(), QStringLiteral("推荐"));
}

// The main window hands its loaded lists to the board form it opens, and
// again whenever a list's box is filled.
TEST(BoardFormCatalogue, TheMainWindowHandsItsListsToTheBoardForm) {
    test::TempDir dir;
    app::WindowOptions options = qt_test::test_window_options();
    options.history_file = dir.file("history.sqlite");
    qt_test::TestWindow w(options);
    catalogue::CatalogueData& data = w.data.catalogue;
    data.level1.buffer = catalogue::category_line(gbk("食品"), "14");
    catalogue::fill(w.window.catalogue_view(), data, catalogue::ListKind::Level1);
    // A seller who has never opened the board is pointed to it, until they do.
    auto* pointer = w.window.findChild<QPushButton*>(QStringLiteral("按钮看板引导"));
    ASSERT_NE(pointer, nullptr);
    EXPECT_TRUE(pointer->isVisibleTo(&w.window));
    w.window.open_board();
    EXPECT_FALSE(pointer->isVisibleTo(&w.window));
    app::BoardForm& form = *w.window.tracker().board_window().form;
    w.window.tracker().board_window().hide();
    QAction* food = menu_entry(form.类目选择->menu(), QStringLiteral("选择“食品”"));
    ASSERT_NE(food, nullptr);

    // A box emptied on the category page leaves the form its list; a name chosen stays.
    food->trigger();
    catalogue::clear_box(w.window.catalogue_view(), data, catalogue::ListKind::Level1);
    EXPECT_NE(menu_entry(form.类目选择->menu(), QStringLiteral("选择“食品”")), nullptr);
    EXPECT_EQ(form.编辑框看板类目->text(), QStringLiteral("食品"));
    EXPECT_EQ(form.board().category_ids, std::vector<std::string>{"14"});

    data.tabs.buffer = catalogue::category_line(gbk("推荐"), "1");
    catalogue::fill(w.window.catalogue_view(), data, catalogue::ListKind::Tabs);
    form.编辑框看板爱逛街->setText(QStringLiteral("推荐"));
    EXPECT_EQ(form.board().tab_id, "1");
}

// Less than the schedule's minimum is refused with a message and the last
// good interval comes back; a value set past the box is refused on start.
TEST_F(BoardFormTest, AnIntervalUnderTheMinimumIsRefusedWithAMessage) {
    form.数值框间隔分钟->setValue(20);
    emit form.数值框间隔分钟->editingFinished();
    EXPECT_TRUE(messages.isEmpty());
    form.数值框间隔分钟->setValue(board::kMinIntervalMinutes - 1);
    emit form.数值框间隔分钟->editingFinished();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("不能少于15分钟")))
        << messages[0].toStdString();
    EXPECT_EQ(form.数值框间隔分钟->value(), 20);

    form.数值框间隔分钟->setValue(5);
    EXPECT_TRUE(form.problems().filter(QStringLiteral("不能少于15分钟")).size() == 1)
        << form.problems().join("; ").toStdString();
}

// The board's channels are ticked, an undefined one shows marked and stays
// when saved, defined ones not chosen stay unticked; a later list of channels
// keeps what is ticked.
TEST_F(BoardFormTest, ChannelsRoundTripIncludingOneKorvelIniNoLongerDefines) {
    EXPECT_FALSE(form.channel_checks->hint()->isHidden());
    form.set_channel_names({"运营群", "老板"});
    EXPECT_TRUE(form.channel_checks->hint()->isHidden());
    const board::Board stored = sample_board();
    form.show_board(stored);
    ASSERT_NE(form.channel_checks->box("旧群"), nullptr);
    EXPECT_EQ(form.channel_checks->box("旧群")->text(), QStringLiteral("旧群（未定义）"));
    EXPECT_TRUE(form.channel_checks->box("旧群")->isChecked());
    EXPECT_TRUE(form.channel_checks->box("运营群")->isChecked());
    EXPECT_FALSE(form.channel_checks->box("老板")->isChecked());
    EXPECT_EQ(form.board().channels, stored.channels);

    form.set_channel_names({"老板", "旧群"});
    EXPECT_EQ(form.channel_checks->box("旧群")->text(), QStringLiteral("旧群"));
    EXPECT_EQ(form.channel_checks->box("运营群")->text(), QStringLiteral("运营群（未定义）"));
    form.channel_checks->box("老板")->setChecked(true);
    form.channel_checks->box("运营群")->setChecked(false);
    EXPECT_EQ(form.board().channels, (std::vector<std::string>{gbk("老板"), gbk("旧群")}));
}

TEST_F(BoardFormTest, TheDailyReportIsOffAtNineUntilChosenAndRoundTrips) {
    EXPECT_FALSE(form.复选框每日报告->isChecked());
    EXPECT_EQ(form.时间框报告->time(), QTime(9, 0));
    EXPECT_EQ(form.board().report_minute, std::nullopt);
    form.复选框每日报告->setChecked(true);
    EXPECT_EQ(form.board().report_minute, 9 * 60);

    form.show_board(sample_board());
    EXPECT_TRUE(form.复选框每日报告->isChecked());
    EXPECT_EQ(form.时间框报告->time(), QTime(18, 30));
    EXPECT_EQ(form.board(), sample_board());  // every field of the form, names included

    form.show_board(board::Board{});
    EXPECT_FALSE(form.复选框每日报告->isChecked());
    EXPECT_EQ(form.时间框报告->time(), QTime(9, 0));
}

// Names and shops show beside the lines that name their goods; a line edited
// to another goods item loses them.
TEST_F(BoardFormTest, GoodsShowTheirNamesUntilTheirLineIsEdited) {
    form.show_board(sample_board());
    EXPECT_EQ(form.标签本店名称->text(),
              QStringLiteral("4033138：辣条大礼包（味道工坊零食旗舰店）"));
    EXPECT_EQ(form.标签竞品名称->text(), QStringLiteral("96919329：麻辣条（老街小吃）"));

    form.编辑框本店商品->setPlainText(QStringLiteral("4033139"));
    EXPECT_TRUE(form.标签本店名称->text().isEmpty());
    EXPECT_EQ(form.board().own.front(), (board::GoodsItem{"4033139", {}, {}, {}}));
    form.编辑框竞品->setPlainText(QStringLiteral("96919329"));  // the same goods, typed by id
    EXPECT_EQ(form.board().competitors.front().name, gbk("麻辣条"));

    form.learn_goods({{"4033139", {}, gbk("新品辣条"), {}}});
    EXPECT_EQ(form.标签本店名称->text(), QStringLiteral("4033139：新品辣条"));
}

// At its smallest the form fits beside a grid on a 1366x768 screen and no
// caption is cut.
TEST_F(BoardFormTest, AtItsMinimumSizeTheFormFitsASmallScreenWithWholeCaptions) {
    form.set_channel_names({"运营群", "老板", "店长", "客服群"});
    form.show_board(sample_board());
    const QSize smallest = form.minimumSizeHint();
    EXPECT_LE(smallest.width(), 1000);
    EXPECT_LE(smallest.height(), 400);
    form.resize(smallest);
    form.show();
    for (QWidget* w : form.findChildren<QWidget*>()) {
        const bool caption = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
        if (!caption || w == form.标签本店名称 || w == form.标签竞品名称 || w->isHidden())
            continue;
        EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
    }
}

// A goods link is taken as the keyword page takes it; everything wrong with
// the form is told at once, each field by name.
TEST_F(BoardFormTest, AcceptsGoodsLinksAndListsEveryProblemAtOnce) {
    const QString link = QStringLiteral("http://127.0.0.1:18080/goods2.html?goods_id=4033138");
    form.编辑框看板名称->setText(QStringLiteral("辣条看板"));
    form.编辑框本店商品->setPlainText(link + QStringLiteral("\n"));
    form.编辑框竞品->setPlainText(QStringLiteral("96919329\n96919330"));
    form.编辑框看板关键词->setPlainText(QStringLiteral("辣条"));
    EXPECT_TRUE(form.problems().isEmpty()) << form.problems().join("; ").toStdString();
    EXPECT_EQ(form.board().own.front().link, link.toStdString());

    form.编辑框看板名称->setText(QStringLiteral("辣条") + QChar(0x1B) + QStringLiteral("看板"));
    form.编辑框竞品->setPlainText(QStringLiteral("1\n2\n3\n4\n5\n6\n老街小吃"));
    form.编辑框看板关键词->setPlainText(QStringLiteral("辣条😀"));
    form.编辑框看板类目->setText(QStringLiteral("休闲零食"));
    const QStringList problems = form.problems();
    const QStringList expected = {
        "看板名称“辣条\\x1B看板”含有控制字符", "关键词“辣条?”含有无法保存的字符",
        "竞品“老街小吃”既不是商品ID也不是商品链接", "竞品最多5个", "类目“休闲零食”不是类目ID"};
    ASSERT_EQ(problems.size(), expected.size()) << problems.join("; ").toStdString();
    for (const QString& problem : expected)
        EXPECT_EQ(problems.filter(problem).size(), 1) << problem.toStdString();
}

// The form loads the lists it offers itself, each level when its menu opens,
// and keeps the names a category and a tab were chosen by.
TEST(BoardFormLists, LoadEveryLevelAndTheTabsWhenTheirMenusOpen) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    qt_test::ScopedQtEventPump pump;
    app::BoardForm form;
    // The entries below the own one ("选择“…”") and a separator, once loaded.
    const auto loaded = [](QMenu* menu, int skip) {
        QElapsedTimer guard;  // a hang guard only
        guard.start();
        emit menu->aboutToShow();
        while (guard.elapsed() < 10000 &&
               (menu->actions().size() <= skip || !menu->actions().back()->isEnabled()))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        return menu->actions().mid(skip);
    };
    const QList<QAction*> level1 = loaded(form.类目选择->menu(), 0);
    ASSERT_FALSE(level1.isEmpty());
    ASSERT_NE(level1.front()->menu(), nullptr);
    const QList<QAction*> level2 = loaded(level1.front()->menu(), 2);
    ASSERT_FALSE(level2.isEmpty());
    ASSERT_NE(level2.front()->menu(), nullptr);
    const QList<QAction*> level3 = loaded(level2.front()->menu(), 2);
    ASSERT_FALSE(level3.isEmpty());
    ASSERT_EQ(level3.front()->menu(), nullptr);
    level3.front()->trigger();
    const board::Board chosen = form.board();
    ASSERT_EQ(chosen.category_ids.size(), 1u);
    EXPECT_EQ(ui::to_qstring(chosen.category_names.at(chosen.category_ids.front())),
              level3.front()->text());

    const QList<QAction*> tabs = loaded(form.爱逛街选择->menu(), 0);
    ASSERT_FALSE(tabs.isEmpty());
    tabs.front()->trigger();
    EXPECT_EQ(ui::to_qstring(form.board().tab_name), tabs.front()->text());
    EXPECT_FALSE(form.board().tab_id->empty());
}

}  // namespace
