// The window's tracker: its timer ticks the runner, and the runner's events
// reach the board window on the GUI thread. A scheduled run shows in a board
// window that shows nothing yet, its notices are listed there, what the user
// typed is left alone, the window's own run waits for a scheduled one, and
// the window's 停止 stops it.
// (When boards are due, skips and daily reports: tests/service.)
#include "app/tracker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QWidget>

#include "app/board_form.h"
#include "app/board_window.h"
#include "board/board_text.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

using namespace std::chrono;

board::Board scheduled_board() {
    board::Board b;
    b.name = text::utf8_to_gbk("定时看板");
    b.own = {{"4033138", {}, {}, {}}};
    b.keywords = {text::utf8_to_gbk("辣条大礼包")};
    b.sorts = {ranking::Sort::general};
    b.schedule = board::Schedule{true, 15, 0, 0, board::kEveryDay};
    return b;
}

// 17 minutes past a quarter hour, UTC and local alike (zones are whole
// quarter hours): past the slot's start whatever its jitter (at most 90 s).
board::Time quarter_past(int quarters) {
    return board::Time(sys_days{2030y / March / 4} + hours(10) + minutes(2 + 15 * quarters));
}

class TrackerSchedule : public testing::Test {
  protected:
    TrackerSchedule() {
        sim::Options o;
        o.port = 0;
        server = std::make_unique<sim::Server>(o);
        EXPECT_TRUE(server->start());
        hosts = std::make_unique<qt_test::ScopedHosts>(server->host());
        tracker = new app::Tracker(main_window, dir.path() / "history.sqlite");
        tracker->board_window().show_message = [this](const QString& m) { boxes << m; };
        const board::Board b = scheduled_board();
        EXPECT_TRUE(tracker->store()->save_board("定时看板", board::board_to_text(b), 0).ok());
    }
    ~TrackerSchedule() override { delete tracker; }

    void wait_for_run() {
        QElapsedTimer guard;  // a hang guard only
        guard.start();
        while (tracker->runner().running() && guard.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents();  // the run's last events
    }

    long long checks() { return tracker->store()->count_checks().value(); }

    test::TempDir dir;
    std::unique_ptr<sim::Server> server;
    std::unique_ptr<qt_test::ScopedHosts> hosts;
    QWidget main_window;
    app::Tracker* tracker = nullptr;
    QStringList boxes;
};

TEST_F(TrackerSchedule, AScheduledRunShowsInABlankBoardWindowWithItsNotices) {
    app::BoardWindow& w = tracker->board_window();
    tracker->tick(quarter_past(1));
    wait_for_run();
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(w.current_board().name, text::utf8_to_gbk("定时看板"));
    ASSERT_NE(w.表格排名->item(0, 0), nullptr);
    EXPECT_TRUE(w.表格排名->item(0, 0)->text().startsWith(QStringLiteral("第")));

    sim::Options moved = server->options();
    moved.rank_shift = 15;
    server->set_options(moved);
    tracker->tick(quarter_past(2));
    wait_for_run();
    EXPECT_EQ(checks(), 2);
    EXPECT_EQ(w.列表通知->count(), 2);  // the run's heading, its notice
    emit w.列表通知->itemClicked(w.列表通知->item(1));
    const auto* chart = w.findChild<QWidget*>(QStringLiteral("走势窗口"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(boxes.isEmpty());
}

// A scheduled run uses the saved board: what the user is typing stays.
TEST_F(TrackerSchedule, AScheduledRunLeavesTheFormAsTheUserLeftIt) {
    app::BoardWindow& w = tracker->board_window();
    ui::write_text(w.form->编辑框看板名称, text::utf8_to_gbk("定时看板"));
    ui::write_text(w.form->编辑框看板关键词, text::utf8_to_gbk("还没保存的词"));
    tracker->tick(quarter_past(1));
    wait_for_run();
    EXPECT_EQ(w.form->编辑框看板关键词->toPlainText(), QStringLiteral("还没保存的词"));
    const auto stored = tracker->store()->checks({});
    ASSERT_EQ(stored.value().size(), 1u);
    EXPECT_EQ(stored.value()[0].key, "辣条大礼包");
}

// One run at a time: the window's own start is refused while a scheduled one reads.
TEST_F(TrackerSchedule, TheWindowsOwnRunWaitsForAScheduledOne) {
    sim::Options slow = server->options();
    slow.delay_ms = 300;
    server->set_options(slow);
    tracker->tick(quarter_past(1));
    ASSERT_TRUE(tracker->runner().running());
    app::BoardWindow& w = tracker->board_window();
    ui::write_text(w.form->编辑框看板名称, text::utf8_to_gbk("手动看板"));
    ui::write_text(w.form->编辑框本店商品, "4033138");
    ui::write_text(w.form->编辑框看板关键词, text::utf8_to_gbk("辣条"));
    EXPECT_FALSE(w.start_checks());
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].startsWith(QStringLiteral("另一个看板正在检查")))
        << boxes[0].toStdString();
    // The window follows the scheduled run, and its 停止 stops it.
    QElapsedTimer guard;  // a hang guard only
    guard.start();
    while (!w.running() && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(w.按钮停止->isEnabled());
    EXPECT_TRUE(w.标签看板状态->text().contains(QStringLiteral("正在检查看板“定时看板”")))
        << w.标签看板状态->text().toStdString();
    w.stop_checks();
    wait_for_run();
    EXPECT_FALSE(w.running());
    EXPECT_EQ(tracker->store()->last_run("定时看板").value()->how_ended, "stopped");
}

}  // namespace
