// The board window's exports: the button offers the grid as laid out and the
// rows, and both read back as the board on screen.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/board_form.h"
#include "app/board_window.h"
#include "history/local_time.h"
#include "plain/csv_reader.h"
#include "plain/temp_dir.h"
#include "sim_catalogue.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

TEST(BoardExport, TheButtonOffersTheGridAndTheRowsOfTheBoardOnScreen) {
    test::TempDir dir;
    auto opened = history::Store::open(dir.path() / "history.sqlite");
    ASSERT_TRUE(opened.ok());
    auto store = std::make_shared<history::Store>(std::move(opened).value());
    app::BoardWindow window(store, nullptr);
    QStringList messages;
    window.show_message = [&](const QString& m) { messages << m; };
    const std::string own(sim::kSampleGoodsId);
    ui::write_text(window.form->编辑框看板名称, text::utf8_to_gbk("测试看板"));
    ui::write_text(window.form->编辑框本店商品, own);
    ui::write_text(window.form->编辑框看板关键词, text::utf8_to_gbk("=SUM(1)\n辣条"));
    ASSERT_TRUE(window.save_board()) << messages.join("; ").toStdString();
    ASSERT_TRUE(window.open_board(text::utf8_to_gbk("测试看板")));

    history::Check check;
    check.board = "测试看板";
    check.key = "辣条";
    check.sort = history::Sort::default_order;
    check.time_ms = 1'000'000;
    check.pages_read = 1;
    check.outcome = history::Outcome::found;
    check.goods = {{own, history::Role::own, 42}};
    // Written through a connection of its own, as korvel-check on a timer does.
    auto other = history::Store::open(dir.path() / "history.sqlite");
    ASSERT_TRUE(other.ok());
    ASSERT_TRUE(other.value().add_check(check).ok());
    window.poll_history();

    const QMenu* menu = window.按钮导出看板->menu();
    ASSERT_NE(menu, nullptr);
    QStringList choices;
    for (const QAction* action : menu->actions())
        choices << action->text();
    EXPECT_EQ(choices, (QStringList{QStringLiteral("表格布局"), QStringLiteral("明细")}));

    const test::CsvRecords grid = test::read_csv(window.board_grid_csv());
    ASSERT_EQ(grid.size(), 3u);
    EXPECT_EQ(grid[0].at(0), "本店 " + own);
    EXPECT_EQ(grid[0].size(), static_cast<std::size_t>(window.表格排名->columnCount()) + 1);
    EXPECT_EQ(grid[1].at(0), "'=SUM(1)");
    EXPECT_EQ(grid[2].at(0), "辣条");
    EXPECT_EQ(grid[2].at(1), "第42名");
    EXPECT_EQ(grid[2].at(2), "未检查");

    const test::CsvRecords rows = test::read_csv(window.board_csv());
    ASSERT_EQ(rows.size(), 2u) << "the header and the one goods item of the one check";
    EXPECT_EQ(rows[0].at(2), "列表");
    EXPECT_EQ(rows[1].at(2), "辣条");
    EXPECT_NE(std::find(rows[1].begin(), rows[1].end(), "第42名"), rows[1].end());

    const test::CsvRecords history = test::read_csv(window.history_csv(0, 2'000'000));
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[1].at(0), history::local_time_with_offset(check.time_ms));
    EXPECT_EQ(test::read_csv(window.history_csv(2'000'000, 3'000'000)).size(), 1u);
}

// Without a history there is nothing to export, which is not the same as a
// range without checks.
TEST(BoardExport, NoHistoryGivesNoHistoryExport) {
    app::BoardWindow window(nullptr, nullptr);
    EXPECT_EQ(window.history_csv(0, 1), "");
}

}  // namespace
