// Two korvel-check --serve workers sharing one history on a PostgreSQL
// server, against the simulator and a loopback chat robot: each due board
// runs once; a worker killed mid-run loses its board to the other once its
// lease runs out, its run is recorded as abandoned, and every cell ends with
// one check of the slot; every notice reaches the robot once.
#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <map>
#include <thread>

#include "board/board_text.h"
#include "board/check_record.h"
#include "history/store.h"
#include "plain/pg_scratch.h"
#include "plain/raw_http_server.h"
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
const std::vector<std::string> kWords = {"辣条大礼包", "辣条", "辣条礼包",
                                         "麻辣零食",   "零食", "卫龙"};
const std::vector<std::string> kWorkers = {"甲", "乙"};

struct DueBoards {
    board::Time slot;
    std::vector<std::string> names;
};

// Board names whose start in the present slot has come, with time to spare
// before the slot ends.
DueBoards due_boards(std::size_t count) {
    for (;;) {
        const board::Time now = system_clock::now();
        const board::Time slot =
            *board::previous_slot(kEvery15, now, board::LocalZone::system_at(now));
        if (slot + minutes(15) - now < seconds(120)) {
            std::this_thread::sleep_until(slot + minutes(15) + seconds(1));
            continue;
        }
        DueBoards due{slot, {}};
        for (int i = 0; due.names.size() < count; ++i) {
            const std::string name = "看板" + std::to_string(i);
            if (slot + board::slot_jitter(kEvery15, name, slot) <= now)
                due.names.push_back(name);
        }
        return due;
    }
}

class Workers : public ::testing::Test {
  protected:
    void SetUp() override {
#if defined(_WIN32)
        GTEST_SKIP() << "no kill -9 of another process, and no PostgreSQL, in the Windows build";
#endif
        const auto url = test::test_pg_url();
        if (!url)
            GTEST_SKIP() << test::kNoPgServer;
        scratch.emplace(*url);
        ASSERT_TRUE(scratch->problem().empty()) << scratch->problem();
        sim::Options options;
        options.port = 0;
        marketplace = std::make_unique<sim::Server>(options);
        ASSERT_TRUE(marketplace->start());
        for (const std::string& worker : kWorkers) {
            std::filesystem::create_directories(dir.file(worker + "/korvel"));
            std::ofstream(dir.file(worker + "/korvel/korvel.ini")) << test::settings_text(
                marketplace->host(),
                "[board]\npages_per_second=50\nbackoff_s=0.05\n"
                "max_in_flight=1\n[service]\nworker=" +
                    worker + "\nlease_s=2\n[notify.群]\nkind=json\nurl=" + robot.url("/hook") +
                    "\n");
        }
        store.emplace(history::Store::open(db()).value());
    }

    std::string db() const {
        return scratch->location().text();
    }
    test::Environment env(const std::string& worker) const {
        return {{"XDG_CONFIG_HOME", dir.file(worker).string()},
                {"XDG_DATA_HOME", dir.file(worker + "-data").string()}};
    }
    std::string sql(const std::string& statement) {
        return scratch->run(statement).value_or("");
    }

    void save(const std::string& name) {
        board::Board b;
        b.name = text::utf8_to_gbk(name);
        b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
        for (const std::string& word : kWords)
            b.keywords.push_back(text::utf8_to_gbk(word));
        b.sorts = {ranking::Sort::general};
        b.schedule = kEvery15;
        b.channels = {text::utf8_to_gbk("群")};
        const auto saved_at = board::unix_ms(system_clock::now() - hours(24));
        ASSERT_TRUE(store->save_board(name, board::board_to_text(b), saved_at).ok());
        // A check of every cell a day ago, so that this slot's ranks move.
        const auto ran = test::run_process(kProgram, {"--board", name, "--db", db()}, env("甲"));
        ASSERT_EQ(ran.exit_code, 0) << ran.err;
        sql("UPDATE checks SET time_ms = time_ms - 86400000");
        sql("DELETE FROM runs");
    }

    std::string since_slot(const std::string& what, const std::string& board) {
        return sql("SELECT " + what + " FROM checks WHERE board = '" + board +
                   "' AND time_ms >= " + std::to_string(board::unix_ms(slot)));
    }

    test::TempDir dir;
    std::optional<test::PgScratch> scratch;
    std::unique_ptr<sim::Server> marketplace;
    test::RawHttpServer robot{test::Reply::ok("{}")};
    std::optional<history::Store> store;
    board::Time slot;
};

TEST_F(Workers, EachDueBoardRunsOnceAndAKilledWorkersBoardIsFinishedByTheOther) {
    const DueBoards due = due_boards(2);
    slot = due.slot;
    for (const std::string& name : due.names)
        save(name);
    sim::Options slow = marketplace->options();
    slow.rank_shift = 15;
    slow.delay_ms = 400;  // each board's run lasts seconds: long enough to be killed in
    marketplace->set_options(slow);

    std::map<std::string, std::unique_ptr<test::StartedProcess>> workers;
    for (const std::string& worker : kWorkers) {
        workers[worker] = std::make_unique<test::StartedProcess>(
            kProgram, std::vector<std::string>{"--serve", "--db", db()}, env(worker),
            dir.file(worker + ".err").string());
        ASSERT_TRUE(workers[worker]->started());
    }
    // Kill whoever holds a board whose run has recorded a check.
    const auto guard = steady_clock::now() + seconds(60);  // hang guards only
    std::string killed_board, killed;
    while (killed.empty() && steady_clock::now() < guard) {
        for (const std::string& name : due.names) {
            const std::string holder =
                sql("SELECT holder FROM board_leases WHERE board = '" + name + "'");
            const int checks = std::stoi(since_slot("count(*)", name));
            for (const std::string& worker : kWorkers) {
                if (killed.empty() && checks >= 1 && checks < 6 &&
                    holder.rfind(worker + "/", 0) == 0) {
                    workers[worker]->kill_now();
                    killed = worker, killed_board = name;
                }
            }
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
    ASSERT_FALSE(killed.empty()) << "no run was caught under way";
    const auto killed_at = steady_clock::now();
    const auto done = [&](const std::string& name) {
        return sql("SELECT count(*) FROM runs WHERE board = '" + name +
                   "' AND how_ended = 'done'") == "1";
    };
    while (!(done(due.names[0]) && done(due.names[1])) && steady_clock::now() < guard)
        std::this_thread::sleep_for(milliseconds(100));
    const auto took = duration_cast<milliseconds>(steady_clock::now() - killed_at);
    RecordProperty("finished_ms_after_kill", static_cast<int>(took.count()));
    const std::string survivor = killed == "甲" ? "乙" : "甲";
    EXPECT_EQ(workers[survivor]->end_with(SIGTERM, seconds(10)), 0);
    const std::string said = test::file_bytes(dir.file(survivor + ".err").string());

    for (const std::string& name : due.names) {
        EXPECT_TRUE(done(name)) << name << " after " << took.count() << " ms\n" << said;
        EXPECT_EQ(since_slot("count(*)", name), "6") << name;
        EXPECT_EQ(since_slot("count(DISTINCT listing_key)", name), "6") << "one check per cell";
        EXPECT_EQ(sql("SELECT sum(checks) FROM runs WHERE board = '" + name + "'"), "6") << name;
    }
    EXPECT_EQ(sql("SELECT count(*) FROM runs WHERE how_ended = 'abandoned' AND board = '" +
                  killed_board + "'"),
              "1");
    EXPECT_EQ(sql("SELECT count(*) FROM runs WHERE how_ended = 'abandoned'"), "1");
    EXPECT_EQ(sql("SELECT count(*) FROM notices WHERE kind = 'skipped'"), "0")
        << "a slot another worker runs is no skipped start";
    EXPECT_EQ(sql("SELECT count(*) > 0 FROM pace WHERE host LIKE '%|" + survivor + "'"), "t")
        << "the pace is kept per worker";

    // One message per board's slot, and each of its notices delivered once.
    const std::string notices = sql("SELECT count(*) FROM notices WHERE check_id <> 0");
    EXPECT_NE(notices, "0");
    EXPECT_EQ(sql("SELECT count(*) FROM deliveries WHERE delivered_ms > 0 AND sends = 1"), notices);
    EXPECT_EQ(robot.request_count(), 2u) << said;
}

}  // namespace
