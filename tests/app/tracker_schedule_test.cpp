// A board with a schedule, run by the tracker from the window's event loop:
// the due start runs the board into the history, a second start after the
// marketplace moved the goods leaves a rank notice, and a start that comes
// while the board still runs is skipped and recorded.
#include "app/tracker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "app/board_form.h"
#include "app/board_window.h"
#include "board/board_lock.h"
#include "board/board_text.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"
#include "qt/test_window.h"
#include "sim_server.h"
#include "text/codepage.h"
#include "ui/widget_text.h"

namespace {

using namespace std::chrono_literals;

board::Board scheduled_board() {
    board::Board b;
    b.name = text::utf8_to_gbk("定时看板");
    b.own = {{"4033138", {}, {}, {}}};
    b.keywords = {text::utf8_to_gbk("辣条大礼包")};
    b.sorts = {ranking::Sort::general};
    b.schedule = board::Schedule{true, 15, 0, 0, board::kEveryDay};
    return b;
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
        tracker->board_window().show_message = [](const QString&) {};
        const board::Board b = scheduled_board();
        EXPECT_TRUE(tracker->store()->save_board("定时看板", board::board_to_text(b), 0).ok());
    }
    ~TrackerSchedule() override { delete tracker; }

    void wait_for_run() {
        QElapsedTimer guard;  // a hang guard only
        guard.start();
        while (tracker->board_window().running() && guard.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }

    long long checks() { return tracker->store()->count_checks().value(); }

    test::TempDir dir;
    std::unique_ptr<sim::Server> server;
    std::unique_ptr<qt_test::ScopedHosts> hosts;
    QWidget main_window;
    app::Tracker* tracker = nullptr;
};

TEST_F(TrackerSchedule, DueStartsRunTheBoardAndAMovedRankLeavesANotice) {
    const board::Time t0 = std::chrono::system_clock::now();
    tracker->check_schedules(t0);  // plans the first start
    EXPECT_EQ(checks(), 0);
    tracker->check_schedules(t0 + 17min);  // past the first start (15 min + up to 10 %)
    wait_for_run();
    EXPECT_EQ(checks(), 1);

    sim::Options moved = server->options();
    moved.rank_shift = 15;
    server->set_options(moved);
    tracker->check_schedules(t0 + 34min);
    wait_for_run();
    EXPECT_EQ(checks(), 2);
    const auto notices = tracker->store()->notices("定时看板");
    ASSERT_TRUE(notices.ok());
    ASSERT_EQ(notices.value().size(), 1u);
    EXPECT_NE(notices.value()[0].message.find("▼15"), std::string::npos)
        << notices.value()[0].message;
    EXPECT_EQ(tracker->board_window().列表通知->count(), 2);  // the run's heading, its notice
    // The notice opens the chart of its cell.
    app::BoardWindow& w = tracker->board_window();
    emit w.列表通知->itemClicked(w.列表通知->item(1));
    const auto* chart = w.findChild<QWidget*>(QStringLiteral("走势窗口"));
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
}

TEST_F(TrackerSchedule, PausedOrStillRunningStartsDoNotRun) {
    const board::Time t0 = std::chrono::system_clock::now();
    tracker->check_schedules(t0);
    tracker->set_paused(true);
    tracker->check_schedules(t0 + 17min);
    EXPECT_FALSE(tracker->board_window().running());
    tracker->set_paused(false);

    sim::Options slow = server->options();
    slow.delay_ms = 300;
    server->set_options(slow);
    tracker->check_schedules(t0 + 34min);
    ASSERT_TRUE(tracker->board_window().running());
    tracker->check_schedules(t0 + 51min);  // the previous run still goes on
    const auto notices = tracker->store()->notices("定时看板");
    ASSERT_TRUE(notices.ok());
    ASSERT_EQ(notices.value().size(), 1u);
    EXPECT_EQ(notices.value()[0].kind, "skipped");
    wait_for_run();
    EXPECT_EQ(checks(), 1);
}

// A scheduled run uses the saved board: what the user is typing stays.
TEST_F(TrackerSchedule, AScheduledRunLeavesTheFormAsTheUserLeftIt) {
    app::BoardWindow& w = tracker->board_window();
    ui::write_text(w.form->编辑框看板名称, text::utf8_to_gbk("定时看板"));
    ui::write_text(w.form->编辑框看板关键词, text::utf8_to_gbk("还没保存的词"));
    const board::Time t0 = std::chrono::system_clock::now();
    tracker->check_schedules(t0);
    tracker->check_schedules(t0 + 17min);
    wait_for_run();
    EXPECT_EQ(checks(), 1);
    EXPECT_EQ(w.form->编辑框看板关键词->toPlainText(), QStringLiteral("还没保存的词"));
    const auto stored = tracker->store()->checks({});
    ASSERT_EQ(stored.value().size(), 1u);
    EXPECT_EQ(stored.value()[0].key, "辣条大礼包");
}

// A board held by korvel-check: the start is skipped and recorded, no box waits for a click.
TEST_F(TrackerSchedule, AStartThatFindsTheBoardLockedIsSkippedWithoutABox) {
    QStringList boxes;
    tracker->board_window().show_message = [&](const QString& m) { boxes << m; };
    const auto held = board::BoardLock::for_history(dir.path() / "history.sqlite", "定时看板");
    ASSERT_TRUE(held.held());
    const board::Time t0 = std::chrono::system_clock::now();
    tracker->check_schedules(t0);
    tracker->check_schedules(t0 + 17min);
    EXPECT_FALSE(tracker->board_window().running());
    EXPECT_TRUE(boxes.isEmpty());
    const auto notices = tracker->store()->notices("定时看板").value();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, "skipped");
}

// The daily report goes out once a day from the schedule's tick, to the
// channels korvel.ini defines, off the GUI thread; a board with nothing
// checked has nothing to report and sends nothing.
TEST_F(TrackerSchedule, TheDailyReportGoesOutOnceADay) {
    test::RawHttpServer robot(test::Reply::ok(R"({"errcode":0})"));
    const auto config_home = dir.path() / "config";
    std::filesystem::create_directories(config_home / "korvel");
    std::ofstream(config_home / "korvel" / "korvel.ini")
        << "[notify.群]\nkind=wecom\nurl=" << robot.url("/send?key=K") << "\n";
    const QByteArray saved_home = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config_home.string()));
    board::Board b = scheduled_board();
    b.schedule.reset();
    b.channels = {text::utf8_to_gbk("群")};
    b.report_minute = 0;  // due from midnight on
    ASSERT_TRUE(tracker->store()->save_board("定时看板", board::board_to_text(b), 1).ok());

    const board::Time now = std::chrono::system_clock::now();
    tracker->check_schedules(now);
    EXPECT_TRUE(tracker->store()->notices("定时看板").value().empty()) << "nothing to report";
    history::Check read;
    read.board = "定时看板";
    read.key = "辣条大礼包";
    read.sort = history::Sort::default_order;
    read.time_ms =
        std::chrono::duration_cast<std::chrono::milliseconds>((now - 1h).time_since_epoch())
            .count();
    read.pages_read = 1;
    read.outcome = history::Outcome::found;
    read.goods = {{"4033138", history::Role::own, 12, history::Outcome::found, {}}};
    ASSERT_TRUE(tracker->store()->add_check(read).ok());
    tracker->check_schedules(now);
    tracker->check_schedules(now + 1min);
    QElapsedTimer guard;  // a hang guard only
    guard.start();
    while (robot.request_count() == 0 && guard.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    qputenv("XDG_CONFIG_HOME", saved_home);
    ASSERT_EQ(robot.request_count(), 1u);
    EXPECT_NE(test::split_request(robot.last_request()).body.find("日报"), std::string::npos);
}

}  // namespace
