// The runner against the simulator, on a fake clock: due boards run one at a
// time and again at their next slot, a start that finds its board busy is
// skipped and recorded once, a board edited meanwhile takes its new schedule,
// a machine that was off catches up with one run, and the daily report goes
// out once a day.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

#include "board/board_lock.h"
#include "board/board_text.h"
#include "board/check_record.h"
#include "history/store.h"
#include "plain/raw_http_server.h"
#include "plain/temp_dir.h"
#include "service/runner.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace {

using namespace std::chrono;
using board::Time;

constexpr board::LocalZone kBeijing{hours(8)};

// A Beijing clock reading on a day of March 2030 (the 4th is a Monday).
Time at(int day, int hour, int minute, int second = 0) {
    return Time(sys_days{2030y / March / day} + hours(hour) + minutes(minute) + seconds(second) -
                kBeijing.utc_offset);
}

// What the runner told, one line per event.
class Recorder final : public service::RunnerObserver {
  public:
    void run_started(const board::Board& b, const board::CheckPlan&, bool) override {
        add("start " + text::gbk_to_utf8(b.name));
    }
    void run_ended(const board::Board& b, const board::SessionSummary&) override {
        add("end " + text::gbk_to_utf8(b.name));
    }
    void start_skipped(const std::string& name, const std::string&) override {
        add("skip " + name);
    }
    void report_sent(const board::Board& b, const std::string&) override {
        add("report " + text::gbk_to_utf8(b.name));
    }
    std::vector<std::string> events() const {
        std::lock_guard lock(mutex_);
        return events_;
    }

  private:
    void add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
    }
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

class RunnerTest : public ::testing::Test {
  protected:
    RunnerTest() {
        sim::Options options;
        options.port = 0;
        server = std::make_unique<sim::Server>(options);
        EXPECT_TRUE(server->start());
        const std::string host = server->host();
        configuration.hosts = net::Hosts{host, host, host, host, "goods2.html"};
        configuration.board.pages_per_second = 50;
        configuration.board.backoff_s = 0.05;
        store.emplace(history::Store::open(history_file()).value());
    }

    std::filesystem::path history_file() const { return dir.file("history.sqlite"); }

    service::Runner& runner() {
        if (!runner_) {
            service::RunnerConfig config;
            config.history_file = history_file();
            config.configuration = [this] { return configuration; };
            config.zone_at = [](Time) { return kBeijing; };
            config.sending.drain_limit = seconds(5);
            runner_ = std::make_unique<service::Runner>(std::move(config));
            runner_->add_observer(recorder);
        }
        return *runner_;
    }

    // A board of one keyword under one sort, every `interval` minutes all day.
    void save(const std::string& name, int interval, Time saved_at = at(4, 10, 0, 30),
              int keywords = 1) {
        board::Board b;
        b.name = text::utf8_to_gbk(name);
        b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
        const char* words[] = {"辣条大礼包", "辣条", "辣条礼包", "麻辣零食"};
        for (int i = 0; i < keywords; ++i)
            b.keywords.push_back(text::utf8_to_gbk(words[i]));
        b.sorts = {ranking::Sort::general};
        if (interval > 0)
            b.schedule = board::Schedule{true, interval, 0, 0, board::kEveryDay};
        b.channels = channels;
        b.report_minute = report_minute;
        ASSERT_TRUE(
            store->save_board(name, board::board_to_text(b), board::unix_ms(saved_at)).ok());
    }

    // Ticks at `now` and waits for the run it started, if any.
    void run_at(Time now) {
        runner().tick(now);
        runner().wait();
    }

    long long checks() { return store->count_checks().value(); }
    std::vector<history::Notice> skips(const std::string& name) {
        std::vector<history::Notice> found;
        for (const history::Notice& n : store->notices(name).value())
            if (n.kind == "skipped")
                found.push_back(n);
        return found;
    }

    test::TempDir dir;
    std::unique_ptr<sim::Server> server;
    service::Configuration configuration;
    std::optional<history::Store> store;
    std::vector<std::string> channels;
    std::optional<int> report_minute;
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
    std::unique_ptr<service::Runner> runner_;
};

TEST_F(RunnerTest, ADueBoardRunsAtItsSlotsAndCatchesUpOnceAfterDowntime) {
    save("定时看板", 15);
    run_at(at(4, 10, 1));  // the first slot after it was saved has not come
    EXPECT_EQ(checks(), 0);
    run_at(at(4, 10, 17));  // 10:15 plus at most 90 s of jitter
    EXPECT_EQ(checks(), 1);
    run_at(at(4, 10, 20));
    EXPECT_EQ(checks(), 1) << "one run per slot";
    run_at(at(4, 10, 34));
    EXPECT_EQ(checks(), 2);

    runner().set_paused(true);
    run_at(at(4, 10, 50));
    EXPECT_EQ(checks(), 2) << "paused";
    runner().set_paused(false);
    // Off from 10:50 to 15:02: one run for all the missed slots.
    run_at(at(4, 15, 2));
    run_at(at(4, 15, 3));
    EXPECT_EQ(checks(), 3);
    EXPECT_EQ(store->last_run("定时看板").value()->started_ms, board::unix_ms(at(4, 15, 2)));
}

TEST_F(RunnerTest, AStartThatFindsItsBoardRunningIsSkippedAndRecordedOnce) {
    save("慢看板", 15, at(4, 10, 0, 30), 4);
    sim::Options slow = server->options();
    slow.delay_ms = 400;
    server->set_options(slow);
    runner().tick(at(4, 10, 17));
    ASSERT_TRUE(runner().running());
    EXPECT_NE(runner().start_now(board::Board{}), "") << "one run at a time";
    runner().tick(at(4, 10, 34));  // the next slot, the run still going
    runner().tick(at(4, 10, 35));
    ASSERT_EQ(skips("慢看板").size(), 1u);
    EXPECT_EQ(skips("慢看板")[0].message, "上一轮检查仍在进行，本次跳过");
    runner().wait();
    run_at(at(4, 10, 36));
    EXPECT_EQ(checks(), 4) << "the skipped slot does not run after the run ends";
}

TEST_F(RunnerTest, AStartThatFindsItsBoardLockedElsewhereIsSkippedAndRecorded) {
    save("锁住的看板", 15);
    const auto held = board::BoardLock::for_history(history_file(), "锁住的看板");
    ASSERT_TRUE(held.held());
    runner().tick(at(4, 10, 17));
    EXPECT_FALSE(runner().running());
    runner().tick(at(4, 10, 18));
    const auto skipped = skips("锁住的看板");
    ASSERT_EQ(skipped.size(), 1u);
    EXPECT_EQ(skipped[0].message.rfind("定时检查未开始：", 0), 0u) << skipped[0].message;
}

TEST_F(RunnerTest, DueBoardsWaitTheirTurnAndRunOneAtATime) {
    save("甲", 15);
    save("乙", 15);
    runner().tick(at(4, 10, 17));
    EXPECT_TRUE(runner().running());
    EXPECT_TRUE(runner().waiting());
    runner().wait();
    run_at(at(4, 10, 18));
    const auto events = recorder->events();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0].substr(0, 6), "start ");
    EXPECT_EQ(events[1], "end " + events[0].substr(6));
    EXPECT_EQ(events[2].substr(0, 6), "start ");
    EXPECT_NE(events[2], events[0]);
    EXPECT_EQ(checks(), 2);
}

// Another process (a worker on another machine) may run a waiting board
// between the runner's look and its turn: that run counts, no second one.
TEST_F(RunnerTest, AWaitingBoardRunElsewhereMeanwhileIsNeitherRunAgainNorSkipped) {
    save("甲", 15);
    save("乙", 15);
    runner().tick(at(4, 10, 17));
    ASSERT_TRUE(runner().waiting());
    runner().wait();
    const std::string other = recorder->events().at(0) == "start 甲" ? "乙" : "甲";
    history::RunRecord elsewhere{
        0, other, board::unix_ms(at(4, 10, 17, 30)), board::unix_ms(at(4, 10, 17, 40)), "done", 1,
        0, 0};
    ASSERT_TRUE(store->add_run(elsewhere).ok());
    runner().start_next(at(4, 10, 18));
    runner().wait();
    EXPECT_EQ(recorder->events().size(), 2u);
    EXPECT_FALSE(runner().waiting());
    EXPECT_TRUE(skips(other).empty());
    EXPECT_EQ(store->last_run(other).value()->started_ms, elsewhere.started_ms);
    EXPECT_EQ(checks(), 1);
}

TEST_F(RunnerTest, ABoardEditedWhileScheduledTakesItsNewScheduleAtTheNextTick) {
    save("改过的看板", 60);
    run_at(at(4, 10, 17));
    EXPECT_EQ(checks(), 0) << "hourly: the first slot is 11:00";
    save("改过的看板", 15);
    run_at(at(4, 10, 17));
    EXPECT_EQ(checks(), 1);

    // Waiting behind another run, then switched off: it no longer runs.
    save("另一个", 0);
    const auto other = board::board_from_text(store->load_board("另一个").value().definition);
    sim::Options slow = server->options();
    slow.delay_ms = 400;
    server->set_options(slow);
    ASSERT_EQ(runner().start_now(*other, std::nullopt, at(4, 10, 30)), "");
    runner().tick(at(4, 10, 32));
    EXPECT_TRUE(runner().waiting());
    save("改过的看板", 0);
    runner().tick(at(4, 10, 33));
    EXPECT_FALSE(runner().waiting());
    runner().wait();
    run_at(at(4, 10, 34));
    EXPECT_EQ(checks(), 2);
}

TEST_F(RunnerTest, TheDailyReportGoesOutOnceADay) {
    test::RawHttpServer robot(test::Reply::ok(R"({"errcode":0})"));
    notify::Channel group;
    group.name = "群";
    group.kind = notify::ChannelKind::wecom;
    group.url = robot.url("/send?key=K");
    configuration.channels = {group};
    channels = {text::utf8_to_gbk("群")};
    report_minute = 9 * 60;
    save("日报看板", 0);
    runner().tick(at(4, 9, 0));
    EXPECT_TRUE(recorder->events().empty()) << "nothing checked yet: nothing to report";
    history::Check read;
    read.board = "日报看板";
    read.key = "辣条大礼包";
    read.sort = history::Sort::default_order;
    read.time_ms = board::unix_ms(at(4, 8, 0));
    read.pages_read = 1;
    read.outcome = history::Outcome::found;
    read.goods = {
        {std::string(sim::kSampleGoodsId), history::Role::own, 12, history::Outcome::found, {}}};
    ASSERT_TRUE(store->add_check(read).ok());
    runner().tick(at(4, 8, 59));
    runner().tick(at(4, 9, 0));
    runner().tick(at(4, 13, 0));
    runner().tick(at(5, 9, 30));
    runner().shutdown();  // the sends drain
    EXPECT_EQ(robot.request_count(), 2u);
    EXPECT_EQ(recorder->events(), (std::vector<std::string>{"report 日报看板", "report 日报看板"}));
}

}  // namespace
