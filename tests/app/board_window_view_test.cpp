// The board window as a seller reads it: the grid first and whole on a
// 1366x768 screen, nothing cut at the smallest size, sorting and filters,
// notices by run, goods by name, the keys, and a delete that asks first.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTableWidget>
#include <QTest>

#include "app/board_form.h"
#include "app/board_window.h"
#include "board/board_text.h"
#include "board_window_fixture.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

history::Check check(const std::string& key, history::Sort sort, std::int64_t minute,
                     std::optional<int> rank, history::Outcome outcome = history::Outcome::found) {
    history::Check c;
    c.board = "视图看板";
    c.key = key;
    c.sort = sort;
    c.time_ms = 1'700'000'000'000 + minute * 60'000;
    const bool read = outcome != history::Outcome::failed;
    c.pages_read = read ? 1 : 0;
    c.outcome = read && !rank ? history::Outcome::not_in_top_1000 : outcome;
    c.reason = read ? "" : "请求超时";
    c.goods = {{std::string(sim::kSampleGoodsId), history::Role::own, read ? rank : std::nullopt}};
    return c;
}

class BoardView : public test::BoardWindowFixture {
  protected:
    BoardView() {
        window->confirm = [this](const QString& q) {
            questions << q;
            return answer;
        };
    }

    void fill(const std::string& keywords_utf8, const std::string& competitor = {}) {
        fill_board("视图看板", competitor, keywords_utf8);
    }

    void record(history::Check c, std::vector<history::Notice> notices = {}) {
        ASSERT_TRUE(store->record_check(c, notices).ok());
    }

    void shown() {
        window->show();
        QCoreApplication::processEvents();
    }

    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < window->表格排名->rowCount(); ++r) {
            if (!window->表格排名->isRowHidden(r))
                out << window->表格排名->verticalHeaderItem(r)->text() + "=" +
                           window->表格排名->item(r, c)->text().section(' ', 0, 0);
        }
        return out;
    }

    QStringList questions;
    bool answer = false;
};

TEST_F(BoardView, OpensOnASmallScreenWithTheGridFirstAndLongKeywordsElided) {
    EXPECT_TRUE(window->面板看板定义->isVisibleTo(window.get()));  // a new board: its definition
    std::string keywords;
    for (int i = 0; i < 24; ++i)
        keywords += "关键词" + std::to_string(i) + "\n";
    const std::string long_keyword(60, 'x');
    fill(keywords + long_keyword);
    ASSERT_TRUE(window->save_board());
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));
    shown();
    EXPECT_FALSE(window->面板看板定义->isVisible());
    EXPECT_EQ(window->组合框看板->currentText(), QStringLiteral("视图看板"));
    // On the 1366x768 screen, whole: title bar to status line.
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()))
        << window->frameGeometry().y() << "+" << window->frameGeometry().height();

    QTableWidget* grid = window->表格排名;
    int whole_rows = 0;
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (grid->rowViewportPosition(r) + grid->rowHeight(r) <= grid->viewport()->height())
            ++whole_rows;
    }
    EXPECT_GE(whole_rows, 15);
    EXPECT_LE(grid->verticalHeader()->width(), grid->width() / 3);
    EXPECT_EQ(grid->verticalHeaderItem(24)->toolTip().toStdString(), long_keyword);
    EXPECT_TRUE(grid->verticalHeaderItem(24)->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(grid->verticalHeaderItem(0)->text(), QStringLiteral("关键词0"));

    QTest::mouseClick(window->按钮编辑看板, Qt::LeftButton);
    EXPECT_TRUE(window->面板看板定义->isVisible());
    // 删除看板 stands well apart from 保存看板.
    EXPECT_GT(window->按钮删除看板->x() - window->按钮保存看板->geometry().right(), 100);
}

TEST_F(BoardView, AtItsSmallestSizeNoButtonOrFieldIsCut) {
    fill("辣条", "123456");
    shown();
    for (bool definition : {true, false}) {
        window->show_definition(definition);
        window->resize(window->minimumSizeHint());
        QCoreApplication::processEvents();
        // Above a 40 px taskbar with a 30 px title bar.
        EXPECT_LE(window->minimumSizeHint().width(), 1366);
        EXPECT_LE(window->minimumSizeHint().height() + 30, 728);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool field = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                               qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w);
            QWidget* owner = w->parentWidget();  // the parts of a spin box or combo box
            if (!field || !w->isVisible() || qobject_cast<QAbstractSpinBox*>(owner) ||
                qobject_cast<QComboBox*>(owner) || qobject_cast<QLineEdit*>(owner))
                continue;
            const QSize need =
                qobject_cast<QAbstractButton*>(w) ? w->sizeHint() : w->minimumSizeHint();
            EXPECT_GE(w->width(), need.width()) << w->objectName().toStdString();
            EXPECT_GE(w->height(), need.height()) << w->objectName().toStdString();
        }
    }
}

TEST_F(BoardView, SortsByRankWithoutRankLastAndFiltersFallsAndFailures) {
    using history::Sort;
    fill("上升\n下降\n失败\n未查");
    ASSERT_TRUE(window->save_board());
    record(check("上升", Sort::default_order, 0, 30));
    record(check("上升", Sort::default_order, 1, 20));
    record(check("下降", Sort::default_order, 0, 5));
    record(check("下降", Sort::default_order, 1, 9));
    record(check("失败", Sort::default_order, 0, 12));
    record(check("失败", Sort::default_order, 1, {}, history::Outcome::failed));
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));

    EXPECT_EQ(column(0), QStringList({"上升=第20名", "下降=第9名", "失败=失败", "未查=未检查"}));
    EXPECT_EQ(window->表格排名->item(0, 0)->foreground().color(), QColor(0, 128, 40));
    EXPECT_EQ(window->表格排名->item(1, 0)->foreground().color(), QColor(200, 30, 30));
    // 失败 and 未检查 each have a colour of their own.
    EXPECT_NE(window->表格排名->item(2, 0)->background(),
              window->表格排名->item(3, 0)->background());
    EXPECT_TRUE(window->表格排名->item(2, 0)->text().contains(QStringLiteral("上次第12名")));

    // A click on the header sorts by rank, the next one the other way round.
    QHeaderView* header = window->表格排名->horizontalHeader();
    emit header->sectionClicked(0);
    EXPECT_EQ(column(0), QStringList({"下降=第9名", "上升=第20名", "失败=失败", "未查=未检查"}));
    emit header->sectionClicked(0);
    EXPECT_EQ(column(0), QStringList({"上升=第20名", "下降=第9名", "失败=失败", "未查=未检查"}));
    // The chart opens for the row as shown, not as the board lists it.
    ASSERT_NE(window->show_chart(1, 0), nullptr);
    EXPECT_TRUE(window->findChild<QWidget*>(QStringLiteral("走势窗口"))
                    ->windowTitle()
                    .endsWith(QStringLiteral("下降")));

    EXPECT_TRUE(header->isSortIndicatorShown());
    emit header->sectionClicked(0);  // the third click: the board's order again
    EXPECT_FALSE(header->isSortIndicatorShown());
    for (const auto& [filter, rows] :
         {std::pair<int, QStringList>{1, {"下降=第9名"}}, {2, {"失败=失败"}}}) {
        window->组合框筛选->setCurrentIndex(filter);
        window->组合框筛选->activated(filter);
        EXPECT_EQ(column(0), rows);
    }
    EXPECT_TRUE(window->标签运行摘要->text().contains(QStringLiteral("上升 1 · 下降 1")))
        << window->标签运行摘要->text().toStdString();
}

TEST_F(BoardView, NoticesStandUnderOneHeadingPerRunAndFilterByKeyword) {
    fill("辣条\n薯片");
    ASSERT_TRUE(window->save_board());
    auto n = [](const std::string& key, std::int64_t minute) {
        history::Notice notice;
        notice.board = "视图看板";
        notice.time_ms = 1'700'000'000'000 + minute * 60'000;
        notice.key = key;
        notice.sort = history::Sort::sales;
        notice.kind = "rank_move";
        notice.message = key + " · 销量：第3名 → 第30名";
        return notice;
    };
    record(check("辣条", history::Sort::sales, 0, 30), {n("辣条", 0), n("薯片", 0)});
    record(check("辣条", history::Sort::sales, 60, 31), {n("辣条", 60)});
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));
    QListWidget* list = window->列表通知;
    ASSERT_EQ(list->count(), 5);  // two headings, three notices
    EXPECT_TRUE(list->item(0)->text().endsWith(QStringLiteral("1 条变动")));
    EXPECT_TRUE(list->item(2)->text().endsWith(QStringLiteral("2 条变动")));
    window->编辑框通知筛选->setText(QStringLiteral("薯片"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_TRUE(list->item(0)->text().endsWith(QStringLiteral("2 条变动（筛选出 1 条）")));
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("薯片 · 销量")));
    const std::string csv = window->notices_csv();
    EXPECT_NE(csv.find("薯片"), std::string::npos);
    EXPECT_EQ(csv.find(",辣条,"), std::string::npos);

    // A run only partly among the notices read is left out rather than miscounted.
    std::vector<history::Notice> many(198, n("辣条", 120));
    record(check("辣条", history::Sort::sales, 120, 32), many);
    window->编辑框通知筛选->clear();
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));
    // Read: the 198, the run of one, and one of the first run's two, which is left out.
    ASSERT_EQ(list->count(), 2 + 198 + 1);
    EXPECT_TRUE(list->item(0)->text().endsWith(QStringLiteral("198 条变动")));
    EXPECT_TRUE(list->item(199)->text().endsWith(QStringLiteral("1 条变动")));
    EXPECT_TRUE(list->findItems(QStringLiteral("薯片"), Qt::MatchContains).isEmpty());
}

TEST_F(BoardView, GoodsShowByNameAndTheSavedBoardKeepsTheNames) {
    sim::Options options;
    options.port = 0;
    sim::Server server(options);
    ASSERT_TRUE(server.start());
    qt_test::ScopedHosts hosts(server.host());
    sim::Catalogue catalogue(server.options().seed);
    const sim::Goods& rival = catalogue.goods().at(5);
    fill("辣条", rival.id);
    window->form->sort_boxes[1]->setChecked(false);
    ASSERT_TRUE(window->save_board());
    ASSERT_TRUE(window->start_checks());
    QElapsedTimer guard;  // a hang guard only
    guard.start();
    while (window->running() && guard.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_FALSE(window->running());

    QComboBox* view = window->组合框显示;
    ASSERT_EQ(view->count(), 3);
    EXPECT_TRUE(view->itemText(0).contains(QString::fromStdString(catalogue.sample().name)))
        << view->itemText(0).toStdString();
    EXPECT_TRUE(
        view->itemText(1).startsWith(QStringLiteral("竞品 ") + QString::fromStdString(rival.name)));
    EXPECT_TRUE(
        view->itemData(1, Qt::ToolTipRole).toString().contains(QString::fromStdString(rival.id)));
    const auto saved = board::board_from_text(store->load_board("视图看板").value().definition);
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(text::gbk_to_utf8(saved->competitors.at(0).name), rival.name);
    EXPECT_EQ(text::gbk_to_utf8(saved->own.at(0).shop), catalogue.sample().shop);
}

TEST_F(BoardView, KeysRunCloseAndOpenTheChart) {
    fill("辣条\n薯片");
    ASSERT_TRUE(window->save_board());
    record(check("薯片", history::Sort::default_order, 0, 8));
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));
    shown();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    ui::write_text(window->form->编辑框看板名称, std::string());
    // From the grid and from inside the keyword list alike.
    for (QWidget* w : {static_cast<QWidget*>(window->表格排名),
                       static_cast<QWidget*>(window->form->编辑框看板关键词)}) {
        messages.clear();
        window->show_definition(true);
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return, Qt::ControlModifier);
        ASSERT_EQ(messages.size(), 1);  // 开始检查 ran: it asks for a name
        EXPECT_TRUE(messages[0].contains(QStringLiteral("名称")));
    }
    EXPECT_EQ(window->form->编辑框看板关键词->toPlainText(), QStringLiteral("辣条\n薯片"));

    window->表格排名->setFocus();
    window->表格排名->setCurrentCell(1, 0);
    QTest::keyClick(window->表格排名, Qt::Key_Return);
    auto* chart = window->findChild<QWidget*>(QStringLiteral("走势窗口"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(chart->windowTitle().endsWith(QStringLiteral("薯片")));
    chart->hide();

    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window->表格排名, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(BoardView, DeleteAsksFirstAndRecheckSaysWhenNothingFailed) {
    fill("辣条");
    ASSERT_TRUE(window->save_board());
    ASSERT_EQ(window->组合框看板->currentText(), QStringLiteral("视图看板"));
    for (bool yes : {false, true}) {
        answer = yes;
        QTest::mouseClick(window->按钮删除看板, Qt::LeftButton);
        EXPECT_EQ(store->load_board("视图看板").ok(), !yes);
    }
    EXPECT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].contains(QStringLiteral("视图看板")));

    messages.clear();
    EXPECT_FALSE(window->recheck_failed());
    EXPECT_EQ(messages, QStringList{QStringLiteral("没有失败或未检查的格子")});
}

// Tab walks the screen from the board's name down; a reopened board's focus
// is on its first field, never in one folded away; Enter presses a button.
TEST_F(BoardView, TabFollowsTheScreenAndEnterPressesTheFocusedButton) {
    fill("辣条", "123456");
    ASSERT_TRUE(window->save_board());
    shown();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    app::BoardForm* f = window->form;
    EXPECT_EQ(QApplication::focusWidget(), f->编辑框看板名称);  // a new board: its name
    const QList<QWidget*> expected = {f->编辑框本店商品, f->编辑框竞品, f->编辑框看板关键词,
                                      f->sort_boxes[0], f->sort_boxes[1]};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
    ASSERT_TRUE(window->open_board(text::utf8_to_gbk("视图看板")));
    EXPECT_EQ(QApplication::focusWidget(), window->表格排名);  // on its grid
    QTest::mouseClick(window->按钮编辑看板, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), f->编辑框看板名称);

    ASSERT_TRUE(store->delete_board("视图看板").ok());
    window->按钮保存看板->setFocus();
    QTest::keyClick(window->按钮保存看板, Qt::Key_Return);
    EXPECT_TRUE(store->load_board("视图看板").ok());
}

// Unmaximised, the window is placed whole above a taskbar at the top of the
// free area, as large as it wants where there is room.
TEST(BoardWindowPlace, FitsAboveATaskbarOnA1366x768Screen) {
    const QSize smallest(900, 560);
    for (const auto& [available, height] :
         {std::pair{QRect(0, 0, 1366, 728), 680}, {QRect(0, 32, 1280, 650), 650 - 34}}) {
        const QMargins frame(4, 30, 4, 4);
        const QRect client = app::fitted_window(available, frame, QSize(1300, 680), smallest);
        const QRect outer = client.marginsAdded(frame);
        EXPECT_TRUE(available.contains(outer)) << outer.y() << "+" << outer.height();
        EXPECT_EQ(client.height(), height);
        EXPECT_EQ(outer.top(), available.top());
    }
}

// A board not saved yet has no checks of its own: the keyword page's are not its.
TEST_F(BoardView, ABlankBoardCountsNoneOfTheSinglePagesChecks) {
    history::Check single = check("辣条", history::Sort::default_order, 0, 5);
    single.board.clear();
    record(single);
    app::BoardWindow fresh(store, runner.get());
    EXPECT_TRUE(fresh.标签看板状态->text().contains(QStringLiteral("（本看板 0 次）")))
        << fresh.标签看板状态->text().toStdString();
}

}  // namespace
