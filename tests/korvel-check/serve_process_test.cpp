// korvel-check --serve and --run-due as a user starts them, against the
// simulator: a due board runs; SIGTERM stops the run with its checks
// recorded, frees the board's lock and ends with 0; --run-due runs what is
// due once.
#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <thread>

#include "board/board_lock.h"
#include "board/board_text.h"
#include "board/check_record.h"
#include "history/store.h"
#include "plain/temp_dir.h"
#include "run_process.h"
#include "settings_text.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace {

using namespace std::chrono;

const std::string kProgram = KORVEL_CHECK_EXE;
const board::Schedule kEvery15{true, 15, 0, 0, board::kEveryDay};

// A board name whose start in the present slot has come (its jitter is drawn
// from its name and the slot), so the test need not wait for it; a slot
// about to end is let pass first.
std::string due_name() {
    for (;;) {
        const board::Time now = system_clock::now();
        const board::LocalZone zone = board::LocalZone::system_at(now);
        const board::Time slot = *board::previous_slot(kEvery15, now, zone);
        if (slot + minutes(15) - now < seconds(30)) {
            std::this_thread::sleep_until(slot + minutes(15) + seconds(1));
            continue;
        }
        for (int i = 0; i < 10000; ++i) {
            const std::string name = "看板" + std::to_string(i);
            if (slot + board::slot_jitter(kEvery15, name, slot) <= now)
                return name;
        }
    }
}

class Serve : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::Options options;
        options.port = 0;
        server = std::make_unique<sim::Server>(options);
        ASSERT_TRUE(server->start());
        const std::string host = server->host();
        std::filesystem::create_directories(dir.file("config/korvel"));
        std::ofstream(dir.file("config/korvel/korvel.ini")) << test::settings_text(host);
        store.emplace(history::Store::open(db()).value());
    }

    std::filesystem::path db() const { return dir.file("history.sqlite"); }
    test::Environment env() const {
        return {{"XDG_CONFIG_HOME", dir.file("config").string()},
                {"XDG_DATA_HOME", dir.file("data").string()}};
    }

    // A board on a 15-minute grid, saved at `saved_at`.
    void save(const std::string& name, board::Time saved_at, int keywords = 1) {
        board::Board b;
        b.name = text::utf8_to_gbk(name);
        b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
        const char* words[] = {"辣条大礼包", "辣条", "辣条礼包", "麻辣零食"};
        for (int i = 0; i < keywords; ++i)
            b.keywords.push_back(text::utf8_to_gbk(words[i]));
        b.sorts = {ranking::Sort::general};
        b.schedule = kEvery15;
        ASSERT_TRUE(
            store->save_board(name, board::board_to_text(b), board::unix_ms(saved_at)).ok());
    }

    int runs(const std::string& name) {
        const auto last = store->last_run(name);
        return last.ok() && last.value() ? 1 : 0;
    }

    test::TempDir dir;
    std::unique_ptr<sim::Server> server;
    std::optional<history::Store> store;
};

TEST_F(Serve, RunsADueBoardAndOnSigtermStopsItRecordedAndEndsWithZero) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows has no SIGTERM to send another process";
#endif
    const std::string due = due_name();
    save(due, system_clock::now() - hours(24), 4);
    save("刚保存的看板", system_clock::now());
    sim::Options slow = server->options();
    slow.delay_ms = 400;  // the run is still going when the signal comes
    server->set_options(slow);
    const std::string err = dir.file("serve.err").string();
    test::StartedProcess serve(kProgram, {"--serve", "--db", db().string()}, env(), err);
    ASSERT_TRUE(serve.started());
    const auto guard = steady_clock::now() + seconds(60);  // a hang guard only
    while (store->count_checks().value() == 0 && steady_clock::now() < guard)
        std::this_thread::sleep_for(milliseconds(50));
    ASSERT_GT(store->count_checks().value(), 0);

    const auto signalled = steady_clock::now();
    EXPECT_EQ(serve.end_with(SIGTERM, seconds(10)), 0) << test::file_bytes(err);
    EXPECT_LT(steady_clock::now() - signalled, seconds(5));
    const auto run = store->last_run(due).value();
    ASSERT_TRUE(run);
    EXPECT_EQ(run->how_ended, "stopped");
    EXPECT_EQ(run->checks, 4);
    EXPECT_EQ(run->checks - run->not_checked, store->count_checks().value());
    EXPECT_TRUE(board::BoardLock::for_history(db(), due).held()) << "the lock went with the run";
    EXPECT_EQ(runs("刚保存的看板"), 0) << "its first slot has not come";
    const std::string said = test::file_bytes(err);
    EXPECT_NE(said.find("看板 " + due + "：开始检查，4 项"), std::string::npos) << said;
    EXPECT_NE(said.find("定时检查已结束"), std::string::npos) << said;
}

TEST_F(Serve, RunDueRunsTheDueBoardsOnceAndEnds) {
    const std::string due = due_name();
    save(due, system_clock::now() - hours(24));
    save("刚保存的看板", system_clock::now());
    const auto first = test::run_process(kProgram, {"--run-due", "--db", db().string()}, env());
    EXPECT_EQ(first.exit_code, 0) << first.err;
    EXPECT_EQ(store->count_checks().value(), 1);
    EXPECT_EQ(runs(due), 1);
    EXPECT_EQ(runs("刚保存的看板"), 0);

    const auto again = test::run_process(kProgram, {"--run-due", "--db", db().string()}, env());
    EXPECT_EQ(again.exit_code, 0) << again.err;
    EXPECT_EQ(store->count_checks().value(), 1) << "nothing is due twice in one slot";
}

}  // namespace
