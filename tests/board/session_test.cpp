// Board sessions over loopback: every check lands in the history whatever
// happened on the wire, goods that do not exist fail instead of reading as
// not ranked, and a check's notices are stored with it.
#include <httplib.h>

#include <atomic>

#include "../history/history_fixture.h"
#include "board/board_log.h"
#include "board/session.h"
#include "plain/raw_http_server.h"
#include "sim_board.h"

namespace {

using namespace boardtest;
using history::Outcome;

constexpr const char* kGone = "商品不存在或已下架";

// Every `nth` connection is closed before any answer; the rest go on to the simulator.
class DroppingFront {
  public:
    DroppingFront(const sim::Server& behind, int nth)
        : client_("127.0.0.1", behind.port()),
          server_([this, nth](const std::string& request) { return answer(request, nth); }) {}

    std::string host() const { return "127.0.0.1:" + std::to_string(server_.port()); }

  private:
    test::Reply answer(const std::string& request, int nth) {
        if (++count_ % nth == 0)
            return test::Reply{};  // closed with nothing sent: no status at all
        const std::string target = request.substr(4, request.find(' ', 4) - 4);
        std::lock_guard lock(mutex_);
        const auto got = client_.Get(target);
        if (!got)
            return test::Reply{};
        return test::Reply::status(
            "HTTP/1.1 " + std::to_string(got->status) + " X", got->body,
            "Content-Type: " + got->get_header_value("Content-Type") + "\r\n");
    }

    std::mutex mutex_;
    httplib::Client client_;
    std::atomic<int> count_{0};
    test::RawHttpServer server_;
};

class SessionSim : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    board::Board sample_board(std::vector<std::string> competitors = {}) const {
        board::Board b;
        b.name = text::utf8_to_gbk("零食");
        b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
        for (std::string& id : competitors)
            b.competitors.push_back({std::move(id), {}, {}, {}});
        for (std::size_t i = 0; i < sim::kSampleKeywords.size(); ++i)
            b.keywords.push_back(text::utf8_to_gbk(sim::kSampleKeywords[i]));
        return b;
    }

    board::SessionSummary run(const board::Board& b, const net::Hosts& hosts) {
        board::SessionConfig config;
        config.board = b;
        config.history_file = file;
        config.hosts = hosts;
        config.settings = brisk_settings();
        board::Session session(config);
        EXPECT_EQ(session.start(), "");
        return session.wait();
    }

    std::vector<history::Check> stored() const {
        auto store = history::Store::open(file);
        EXPECT_TRUE(store.ok());
        return store.value().checks({}).value();
    }

    sim::Server server{sim_options()};
    sim::Catalogue catalogue{1};
    history_test::TempDir dir;
    std::filesystem::path file = dir.path() / "history.sqlite";
};

TEST_F(SessionSim, EveryCheckIsStoredWhateverHappenedOnTheWire) {
    const board::Board b = sample_board();
    const std::size_t cells = board::plan_checks(b).listings.size();
    DroppingFront dropping(server, 4);
    const net::Hosts refused{"127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", "127.0.0.1:1", "sim"};
    for (const net::Hosts& hosts :
         {net::Hosts{dropping.host(), dropping.host(), dropping.host(), dropping.host(), "sim"},
          refused}) {
        const auto before = stored().size();
        const board::SessionSummary summary = run(b, hosts);
        EXPECT_EQ(summary.store_problem, "");
        EXPECT_EQ(summary.recorded, cells);
        EXPECT_EQ(stored().size() - before, cells);
    }
    const auto checks = stored();
    // Some check met a dropped connection and was retried; it is kept with that status.
    EXPECT_TRUE(std::any_of(checks.begin(), checks.begin() + static_cast<std::ptrdiff_t>(cells),
                            [](const history::Check& c) {
                                return std::count(c.http_statuses.begin(), c.http_statuses.end(),
                                                  0) > 0 &&
                                       c.outcome != Outcome::failed;
                            }));
    // Against the refused host nothing reads as "not in the first 1000".
    for (std::size_t i = cells; i < checks.size(); ++i)
        EXPECT_TRUE(checks[i].outcome == Outcome::failed ||
                    checks[i].outcome == Outcome::not_checked)
            << checks[i].reason;
}

TEST_F(SessionSim, AGoodsItemThatDoesNotExistFailsItsChecksAndCostsNoListing) {
    // A competitor that does not exist: the own ranks are read, its rows fail.
    run(sample_board({"99999999"}), hosts_of(server));
    for (const history::Check& check : stored()) {
        ASSERT_EQ(check.goods.size(), 2u);
        EXPECT_EQ(history::status_of(check, check.goods[1]), Outcome::failed);
        EXPECT_EQ(check.goods[1].reason, kGone);
        EXPECT_NE(history::status_of(check, check.goods[0]), Outcome::failed) << check.key;
    }
    // Own goods that do not exist: every check fails and no listing is read.
    server.reset_counts();
    board::Board gone = sample_board();
    gone.own = {{"99999999", {}, {}, {}}};
    const auto summary = run(gone, hosts_of(server));
    EXPECT_EQ(server.counts().listing_pages(), 0);
    EXPECT_EQ(summary.failed, summary.total);
    const auto checks = stored();
    for (auto it = checks.end() - static_cast<std::ptrdiff_t>(summary.total); it != checks.end();
         ++it) {
        EXPECT_EQ(it->outcome, Outcome::failed);
        EXPECT_EQ(it->reason, kGone);
    }
}

TEST_F(SessionSim, ACheckKeepsItsNoticesAndTheNextRunComparesWithIt) {
    const board::Board b = sample_board();
    run(b, hosts_of(server));
    auto options = server.options();
    options.rank_shift = 30;
    server.set_options(options);
    const board::SessionSummary moved = run(b, hosts_of(server));
    ASSERT_FALSE(moved.notices.empty());
    auto store = history::Store::open(file);
    ASSERT_TRUE(store.ok());
    const auto notices = store.value().notices("零食").value();
    EXPECT_EQ(notices.size(), moved.notices.size());
    for (const history::Notice& n : notices)
        EXPECT_NE(n.check_id, 0) << n.message;  // stored with its check
    // Nothing moved since: the third run has nothing to say.
    EXPECT_TRUE(run(b, hosts_of(server)).notices.empty());
}

TEST_F(SessionSim, ReCheckTakesTheCellsWhoseLatestCheckWasNotRead) {
    board::Board b = sample_board();
    b.sorts = {ranking::Sort::general};
    run(b, hosts_of(server));
    auto options = server.options();
    options.fault_path = "/search";
    options.status = 503;
    server.set_options(options);
    b.keywords.push_back(text::utf8_to_gbk("从未检查"));
    run(b, hosts_of(server));
    auto store = history::Store::open(file);
    ASSERT_TRUE(store.ok());
    board::BoardLog log("零食", &store.value());
    ASSERT_EQ(log.load(board::board_cells(board::grid_layout(b))), "");
    EXPECT_EQ(board::listings_to_recheck(b, log).size(), b.keywords.size());
    options.status = 0;
    server.set_options(options);
    run(b, hosts_of(server));
    ASSERT_EQ(log.load(board::board_cells(board::grid_layout(b))), "");
    EXPECT_TRUE(board::listings_to_recheck(b, log).empty());
}

// The pace a run leaves goes into the history with its push-back, and the
// next run starts from it and counts on: one that meets no push-back leaves
// a higher pace, so a limit that was lifted is not kept for good.
TEST_F(SessionSim, ThePaceKeptCarriesItsPushBackAndRisesAfterARunWithoutOne) {
    board::Board b = sample_board();
    b.sorts = {ranking::Sort::general};
    auto options = server.options();
    options.rate_limit = 2;
    server.set_options(options);
    const auto kept = [&] {
        auto store = history::Store::open(file);
        EXPECT_TRUE(store.ok());
        return store.value().load_pace(server.host()).value().value_or(history::PaceRecord{});
    };
    run(b, hosts_of(server));
    const history::PaceRecord first = kept();
    EXPECT_GT(server.counts().rate_limited_total(), 0);
    EXPECT_GT(first.pushed_back_at, first.pages_per_second);
    EXPECT_LT(first.pages_per_second, brisk_settings().pages_per_second);

    options.rate_limit = 0;
    server.set_options(options);
    run(b, hosts_of(server));
    const history::PaceRecord second = kept();
    EXPECT_GT(second.pages_per_second, first.pages_per_second);
    EXPECT_EQ(second.pushed_back_at, first.pushed_back_at);
    EXPECT_GT(second.pages_since_push_back, first.pages_since_push_back);
}

// A worker that froze past its lease wakes to find the board taken over:
// the check it then makes is not kept (the new holder checks that cell), the
// run stops at once, and it leaves no run record of its own.
TEST_F(SessionSim, ARunWhoseLeaseWasTakenOverKeepsNoFurtherCheck) {
    const auto url = test::test_pg_url();
    if (!url)
        GTEST_SKIP() << test::kNoPgServer;
    test::PgScratch scratch(*url);
    ASSERT_TRUE(scratch.problem().empty()) << scratch.problem();
    struct TakeOverAfterFirst : board::SessionObserver {
        test::PgScratch* scratch = nullptr;
        std::atomic<int> seen{0};
        void check_recorded(const board::CheckReport&, const history::Check&,
                            const std::vector<history::Notice>&) override {
            if (seen++ == 0)
                scratch->run("UPDATE board_leases SET holder = '乙/2/woke-later'");
        }
    } observer;
    observer.scratch = &scratch;
    board::SessionConfig config;
    config.board = sample_board();
    config.history_file = scratch.location();
    config.hosts = hosts_of(server);
    config.settings = brisk_settings();
    board::Session session(config, &observer);
    ASSERT_EQ(session.start(), "");
    const board::SessionSummary summary = session.wait();
    EXPECT_TRUE(summary.taken_over);
    EXPECT_EQ(summary.recorded, 1u);
    EXPECT_EQ(observer.seen, 1);
    auto store = history::Store::open(scratch.location());
    ASSERT_TRUE(store.ok()) << store.error().message;
    EXPECT_EQ(store.value().count_checks().value(), 1);
    EXPECT_FALSE(store.value().last_run("零食").value());
}

}  // namespace
