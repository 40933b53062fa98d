// A board run's notices on their way to a chat robot: one message per run,
// never a notice twice, failing and recovery once each, what a killed run
// could not send goes with the next, and every delivery kept in the history.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "board/board.h"
#include "delivery_fixture.h"
#include "history/store.h"
#include "notify/board_notifier.h"
#include "notify/board_report.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"
#include "text/codepage.h"

namespace {

const std::string kBoard = "看板";
const std::string kOk = R"({"errcode":0,"errmsg":"ok"})";

class BoardNotifierTest : public testing::Test {
  protected:
    void SetUp() override {
        auto opened = history::Store::open(file());
        ASSERT_TRUE(opened) << opened.error().message;
        store.emplace(std::move(opened).value());
        board.name = text::utf8_to_gbk(kBoard);
        board.channels = {text::utf8_to_gbk("运营群")};
    }

    std::filesystem::path file() const { return dir.file("h.sqlite"); }

    notify::NotifierConfig config(const test::RawHttpServer& robot) {
        notify::NotifierConfig c;
        c.channels = {{"运营群", notify::ChannelKind::wecom, robot.url("/send?key=KEY-42")}};
        c.history_file = file();
        c.dispatcher = dispatcher;
        c.on_report = [this](const notify::SendReport& r) {
            std::lock_guard lock(mutex);
            reports.push_back(r);
        };
        return c;
    }

    // A notice as a check of the run makes it, kept in the history.
    history::Notice notice(std::int64_t time_ms, int before, int after,
                           std::string kind = "rank_move") {
        history::Notice n;
        n.board = kBoard;
        n.time_ms = time_ms;
        n.key = "辣条" + std::to_string(before);
        n.sort = history::Sort::sales;
        n.kind = std::move(kind);
        n.before = "第" + std::to_string(before) + "名";
        n.after = "第" + std::to_string(after) + "名";
        n.message = n.kind == "checks_failing" ? "本轮检查多数失败"
                                               : n.key + " · 销量：" + n.before + " → " + n.after;
        n.check_id = 1;
        n.id = store->add_notice(n).value();
        return n;
    }

    board::SessionSummary run(std::int64_t started_ms, std::vector<history::Notice> notices) {
        board::SessionSummary s;
        s.started_ms = started_ms;
        s.ended_ms = started_ms + 1000;
        s.notices = std::move(notices);
        return s;
    }

    void deliver(const test::RawHttpServer& robot, const board::SessionSummary& s) {
        notify::BoardNotifier(config(robot)).deliver(board, s);
        while (!dispatcher->idle())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::vector<history::Delivery> deliveries_of(const std::vector<history::Notice>& notices) {
        std::vector<std::int64_t> ids;
        for (const auto& n : notices)
            ids.push_back(n.id);
        return store->deliveries(ids).value();
    }

    test::TempDir dir;
    std::optional<history::Store> store;
    board::Board board;
    std::vector<std::chrono::milliseconds> sleeps;
    std::shared_ptr<notify::Dispatcher> dispatcher =
        std::make_shared<notify::Dispatcher>(test::recording_options(&sleeps));
    std::mutex mutex;
    std::vector<notify::SendReport> reports;
};

TEST_F(BoardNotifierTest, OneMessagePerRunAndNoNoticeTwice) {
    test::RawHttpServer robot(test::Reply::ok(kOk));
    std::vector<history::Notice> notices;
    for (int i = 1; i <= 12; ++i)
        notices.push_back(notice(10'000 + i, 30 + i, 10 + i));
    const board::SessionSummary s = run(10'000, notices);
    deliver(robot, s);
    ASSERT_EQ(robot.request_count(), 1u);
    const std::string body = test::split_request(robot.last_request()).body;
    EXPECT_NE(body.find("另有 2 条"), std::string::npos) << body;
    EXPECT_NE(body.find("第31名 → 第11名"), std::string::npos) << body;
    const auto kept = deliveries_of(notices);
    ASSERT_EQ(kept.size(), 12u);
    for (const auto& d : kept) {
        EXPECT_EQ(d.channel, "运营群");
        EXPECT_GT(d.delivered_ms, 0);
    }

    deliver(robot, s);  // the same run's notices again, as after a retry
    EXPECT_EQ(robot.request_count(), 1u);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_TRUE(reports[0].result.delivered);
}

TEST_F(BoardNotifierTest, FailingIsSentOnceAndRecoveryOnce) {
    test::RawHttpServer robot(test::Reply::ok(kOk));
    // Runs: failing, failing again, reading again, reading.
    const struct {
        bool failing;
        std::size_t messages_after;
        const char* says;
    } runs[] = {{true, 1, "本轮检查多数失败"},
                {true, 1, nullptr},
                {false, 2, "检查恢复"},
                {false, 2, nullptr}};
    std::int64_t start = 100'000;
    for (const auto& r : runs) {
        std::vector<history::Notice> notices;
        if (r.failing) {
            history::Notice n = notice(start + 10, 1, 1, "checks_failing");
            notices.push_back(n);
        }
        deliver(robot, run(start, notices));
        EXPECT_EQ(robot.request_count(), r.messages_after) << start;
        if (r.says) {
            EXPECT_NE(test::split_request(robot.last_request()).body.find(r.says),
                      std::string::npos);
        }
        start += 100'000;
    }
}

// A failed send is kept with its reason, goes once more with the next run
// (marked 补发), not a third time, and not at all once a day has passed.
TEST_F(BoardNotifierTest, AFailedSendGoesOnceMoreWithTheNextRunWithinADay) {
    std::atomic<bool> down{true};
    test::RawHttpServer robot([&](const std::string&) {
        return down ? test::Reply::ok(R"({"errcode":93000,"errmsg":"bad key KEY-42"})")
                    : test::Reply::ok(kOk);
    });
    const std::vector<history::Notice> notices = {notice(10'001, 30, 10)};
    deliver(robot, run(10'000, notices));
    EXPECT_EQ(robot.request_count(), 3u);
    auto kept = deliveries_of(notices);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].attempts, 3);
    EXPECT_EQ(kept[0].delivered_ms, 0);
    EXPECT_EQ(kept[0].error, "通知通道 运营群：errcode 93000：bad key ***");
    ASSERT_EQ(reports.size(), 1u);

    down = false;
    deliver(robot, run(20'000, {}));  // a quiet run carries it
    ASSERT_EQ(robot.request_count(), 4u);
    EXPECT_NE(test::split_request(robot.last_request()).body.find("（补发）" + notices[0].message),
              std::string::npos);
    kept = deliveries_of(notices);
    EXPECT_GT(kept[0].delivered_ms, 0);
    EXPECT_EQ(kept[0].sends, 2);
    deliver(robot, run(30'000, {}));
    EXPECT_EQ(robot.request_count(), 4u);

    down = true;
    deliver(robot, run(40'000, {notice(40'001, 40, 20)}));
    EXPECT_EQ(robot.request_count(), 7u);
    deliver(robot, run(40'000 + 25LL * 3600 * 1000, {}));  // more than a day after
    EXPECT_EQ(robot.request_count(), 7u);
}

// A second run starts while the first one's message still waits behind a
// hung send: the second carries the first run's notices, and the first
// sender, finding them claimed, sends nothing. Each notice arrives once.
TEST_F(BoardNotifierTest, AnOverlappingRunNeverSendsANoticeTwice) {
    test::RawHttpServer robot([](const std::string& request) {
        test::Reply reply = test::Reply::ok(kOk);
        reply.hold = test::request_target(request) == "/hung";
        return reply;
    });
    auto first = std::make_shared<notify::Dispatcher>();
    first->post({"hung", notify::ChannelKind::json, robot.url("/hung")}, std::string("x"));
    ASSERT_TRUE(robot.wait_for_path("/hung"));
    notify::NotifierConfig first_config = config(robot);
    first_config.dispatcher = first;
    const history::Notice a = notice(10'001, 30, 10);
    notify::BoardNotifier(first_config).deliver(board, run(10'000, {a}));

    const history::Notice b = notice(20'001, 40, 20);
    deliver(robot, run(20'000, {b}));
    robot.release();
    while (!first->idle())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    std::string bodies;
    for (const std::string& request : robot.requests()) {
        if (test::request_target(request) != "/hung")
            bodies += test::split_request(request).body + "\n";
    }
    for (const history::Notice& n : {a, b}) {
        const auto at = bodies.find(n.message);
        ASSERT_NE(at, std::string::npos) << bodies;
        EXPECT_EQ(bodies.find(n.message, at + 1), std::string::npos) << bodies;
    }
    EXPECT_EQ(robot.request_count(), 2u);
}

TEST_F(BoardNotifierTest, NoticesOfAKilledRunGoWithTheNextRun) {
    test::RawHttpServer robot(test::Reply::ok(kOk));
    deliver(robot, run(10'000, {notice(10'001, 30, 10)}));
    const history::Notice orphan = notice(20'001, 40, 20);  // its run was killed
    const history::Notice next = notice(30'001, 50, 25);
    deliver(robot, run(30'000, {next}));
    ASSERT_EQ(robot.request_count(), 2u);
    const std::string body = test::split_request(robot.last_request()).body;
    EXPECT_NE(body.find(orphan.message), std::string::npos) << body;
    EXPECT_NE(body.find(next.message), std::string::npos) << body;
    EXPECT_EQ(deliveries_of({orphan}).size(), 1u);
}

TEST_F(BoardNotifierTest, AChannelNotDefinedIsReportedAndOthersStillGetTheRun) {
    test::RawHttpServer robot(test::Reply::ok(kOk));
    board.channels.insert(board.channels.begin(), text::utf8_to_gbk("旧群"));
    deliver(robot, run(10'000, {notice(10'001, 30, 10)}));
    EXPECT_EQ(robot.request_count(), 1u);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].result.error, "通知通道 旧群 未在 korvel.ini 中定义");
}

// Each cell's rank now, a day ago and its best in the week; a failed check
// is never taken for 千名外, and a cell whose latest check failed says so.
TEST_F(BoardNotifierTest, DailyReportReadsRanksAsTheGridDoes) {
    board.own = {{"111", {}, {}, {}}};
    board.keywords = {text::utf8_to_gbk("辣条")};
    board.sorts = {ranking::Sort::sales};
    constexpr std::int64_t kHour = 3600 * 1000;
    const std::int64_t now = 1'800'000'000'000;
    const auto add = [&](std::int64_t at, std::optional<int> rank, bool failed) {
        history::Check c;
        c.board = kBoard;
        c.key = "辣条";
        c.sort = history::Sort::sales;
        c.time_ms = at;
        c.pages_read = failed ? 0 : 2;
        c.http_statuses = {failed ? 503 : 200};
        c.outcome = failed ? history::Outcome::failed
                    : rank ? history::Outcome::found
                           : history::Outcome::not_in_top_1000;
        if (failed)
            c.reason = "服务器返回错误 503";
        c.goods = {{"111", history::Role::own, rank, c.outcome, failed ? c.reason : ""}};
        ASSERT_TRUE(store->add_check(c));
    };
    add(now - 200 * kHour, 1, false);  // older than a week
    add(now - 30 * kHour, 20, false);
    add(now - 25 * kHour, 15, false);  // the day-ago rank
    add(now - 5 * kHour, 9, false);    // the week's best
    add(now - 2 * kHour, 12, false);   // now
    add(now - 1 * kHour, std::nullopt, true);
    const auto rows = notify::report_rows(*store, board, now);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].cell, "辣条 · 销量");
    EXPECT_EQ(rows[0].now, 12);
    EXPECT_TRUE(rows[0].failed) << "the latest check failed: the report says 失败";
    EXPECT_EQ(rows[0].day_ago, 15);
    EXPECT_TRUE(rows[0].day_ago_known);
    EXPECT_EQ(rows[0].best_in_7_days, 9);
    EXPECT_FALSE(notify::report_sent_today(*store, kBoard, now));
}

}  // namespace
