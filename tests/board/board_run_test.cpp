// Whole board runs over loopback: against the simulator's ground truth, a
// rate-limited and a refusing simulator, a server that never answers, and a
// run stopped half-way.
#include "plain/raw_http_server.h"
#include "sim_board.h"

namespace {

using namespace boardtest;
using board::BoardRun;
using board::CheckReport;
using board::RunEnd;
using ranking::RunOutcome;
using ranking::RunStatus;

class BoardRunSim : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server.start()); }

    // `expected_end` nullopt: either way is right.
    std::vector<CheckReport> run(const board::CheckPlan& plan, const board::BoardSettings& settings,
                                 std::optional<RunEnd> expected_end = RunEnd::finished) {
        Collector collector;
        BoardRun run(plan, hosts_of(server), settings, collector.handler(), 7);
        EXPECT_TRUE(run.start());
        const RunEnd end = run.wait_until_done();
        if (expected_end) {
            EXPECT_EQ(end, *expected_end);
        }
        return collector.reports();
    }

    // Every check reported once; a cell read is what the catalogue says, a
    // cell not read is failed or not checked, never "not in the first 1000".
    void expect_truthful(const board::CheckPlan& plan, const std::vector<CheckReport>& reports,
                         bool every_check = true) {
        std::vector<int> seen(plan.listings.size(), 0);
        for (const CheckReport& report : reports) {
            ++seen.at(report.check);
            if (!report.checked) {
                EXPECT_TRUE(report.outcomes.empty());
                continue;
            }
            ASSERT_EQ(report.outcomes.size(), plan.goods_ids.size());
            for (std::size_t g = 0; g < plan.goods_ids.size(); ++g) {
                const RunOutcome& got = report.outcomes[g];
                if (got.status != RunStatus::failed) {
                    EXPECT_EQ(got, truth_outcome(catalogue, report.listing, plan.goods_ids[g]))
                        << "check " << report.check << " goods " << plan.goods_ids[g];
                }
            }
        }
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_LE(seen[i], 1) << "reports of check " << i;
            if (every_check) {
                EXPECT_EQ(seen[i], 1) << "reports of check " << i;
            }
        }
    }

    sim::Server server{sim_options()};
    sim::Catalogue catalogue{1};
};

// 1 when page 1 holds every goods item, else 2: what one read of the
// listing must cost.
int truth_pages(const sim::Catalogue& catalogue, const ranking::Listing& listing,
                const std::vector<std::string>& goods) {
    for (const std::string& id : goods) {
        const int position = truth_position(catalogue, listing, id);
        if (position < 1 || position > 500)
            return 2;
    }
    return 1;
}

TEST_F(BoardRunSim, EveryCellMatchesTheCatalogueAndEachPageIsFetchedOnce) {
    const std::string sample(sim::kSampleGoodsId);
    board::CheckPlan plan = sample_plan(catalogue, {});
    const std::string on_page_two = catalogue.keyword_listing("辣条", sim::Sort::overall)[700];
    const std::string near_sample =
        page_one_companions(catalogue, sample_plan(catalogue, {}, 2), 1).at(0);
    plan.goods_ids = {sample, near_sample, on_page_two, "1"};
    server.reset_counts();
    const auto reports = run(plan, brisk_settings());
    ASSERT_EQ(reports.size(), plan.listings.size());
    int pages = 0;
    for (const CheckReport& report : reports) {
        EXPECT_TRUE(report.checked);
        for (const RunOutcome& outcome : report.outcomes)
            EXPECT_NE(outcome.status, RunStatus::failed) << ranking::reason_text(outcome);
        const int expected = truth_pages(catalogue, report.listing, plan.goods_ids);
        EXPECT_EQ(report.pages_read, expected) << "check " << report.check;
        EXPECT_EQ(report.statuses, std::vector<int>(static_cast<std::size_t>(expected), 200));
        pages += expected;
    }
    expect_truthful(plan, reports);
    EXPECT_EQ(server.counts().listing_pages(), pages);
}

TEST_F(BoardRunSim, CompetitorsCostNoPageRequestOfTheirOwn) {
    // With the third sample keyword no two goods stand on page 1 wherever the sample does.
    board::CheckPlan alone = sample_plan(catalogue, {std::string(sim::kSampleGoodsId)}, 2);
    board::CheckPlan with_competitors = alone;
    for (const std::string& id : page_one_companions(catalogue, alone, 2))
        with_competitors.goods_ids.push_back(id);
    ASSERT_EQ(with_competitors.goods_ids.size(), 3u);

    server.reset_counts();
    run(alone, brisk_settings());
    const int pages_alone = server.counts().listing_pages();
    server.reset_counts();
    expect_truthful(with_competitors, run(with_competitors, brisk_settings()));
    EXPECT_EQ(server.counts().listing_pages(), pages_alone);
    EXPECT_GT(pages_alone, static_cast<int>(alone.listings.size())) << "some checks need page 2";
}

// Too fast for the limit at first: the pace comes down, and the board
// finishes with every cell as the catalogue has it, not one given up.
TEST_F(BoardRunSim, ARateLimitNeverTurnsARankIntoNotFound) {
    auto options = server.options();
    options.rate_limit = 2;
    server.set_options(options);
    server.reset_counts();
    board::BoardSettings settings = brisk_settings();
    settings.pages_per_second = 10;
    board::CheckPlan plan = sample_plan(catalogue, {std::string(sim::kSampleGoodsId)});
    plan.listings.resize(6);
    Collector collector;
    BoardRun run(plan, hosts_of(server), settings, collector.handler(), 7);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.wait_until_done(), RunEnd::finished);
    const auto reports = collector.reports();
    EXPECT_GT(server.counts().rate_limited_total(), 0);
    expect_truthful(plan, reports);
    for (const CheckReport& report : reports) {
        for (const RunOutcome& outcome : report.outcomes)
            EXPECT_NE(outcome.status, RunStatus::failed) << ranking::reason_text(outcome);
    }
    EXPECT_LT(run.status().pace_by_host.at(server.host()), settings.pages_per_second);
}

// A marketplace answering 429 to everything: the run pauses as it is told
// until its pause budget is spent, then marks what it never read 未检查
// because of the limit.
TEST_F(BoardRunSim, AHostLimitingEverythingGivesUpWithinThePauseBudget) {
    auto options = server.options();
    options.status = 429;
    options.retry_after = 1;
    server.set_options(options);
    board::BoardSettings settings = brisk_settings();
    settings.give_up_after = 100;
    settings.pause_budget_s = 2.5;
    const board::CheckPlan plan = sample_plan(catalogue, {std::string(sim::kSampleGoodsId)});
    Collector collector;
    BoardRun run(plan, hosts_of(server), settings, collector.handler(), 7);
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.wait_until_done(), RunEnd::gave_up);
    EXPECT_LE(run.status().paused_s, settings.pause_budget_s);
    const auto reports = collector.reports();
    ASSERT_EQ(reports.size(), plan.listings.size());
    int not_checked = 0;
    for (const CheckReport& report : reports) {
        for (const RunOutcome& outcome : report.outcomes)
            EXPECT_EQ(outcome, RunOutcome::failed(ranking::FailReason::http_status, 429));
        if (!report.checked) {
            EXPECT_EQ(report.not_checked_reason, board::rate_limited_text());
            ++not_checked;
        }
    }
    EXPECT_GT(not_checked, 0);
}

TEST_F(BoardRunSim, ARefusingHostGivesFailedOrUncheckedCells) {
    struct Row {
        int failures_before_pause;
        RunEnd end;
    };
    auto options = server.options();
    options.refuse_connections = true;
    server.set_options(options);
    for (const Row row : {Row{3, RunEnd::gave_up}, Row{100, RunEnd::finished}}) {
        board::BoardSettings settings = brisk_settings();
        settings.failures_before_pause = row.failures_before_pause;
        const board::CheckPlan plan = sample_plan(catalogue, {"4033138", "1"});
        const auto reports = run(plan, settings, row.end);
        ASSERT_EQ(reports.size(), plan.listings.size());
        for (const CheckReport& report : reports) {
            if (row.end == RunEnd::finished) {
                EXPECT_TRUE(report.checked);
            }
            for (const RunOutcome& outcome : report.outcomes)
                EXPECT_EQ(outcome, RunOutcome::failed(ranking::FailReason::connect));
        }
    }
}

TEST(BoardRunTimeout, AnUnansweredRequestIsAbortedAsATimeOut) {
    test::Reply held = test::Reply::ok("{}");
    held.hold = true;
    test::RawHttpServer server(held);
    const std::string host = "127.0.0.1:" + std::to_string(server.port());
    board::BoardSettings settings = brisk_settings();
    settings.request_timeout_s = 0.3;
    settings.retries = 1;
    const board::CheckPlan plan{{"5"}, {{ranking::QueryKind::new_goods, "", std::nullopt}}};
    Collector collector;
    BoardRun run(plan, net::Hosts{host, host, host, host, "x"}, settings, collector.handler());
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.wait_until_done(), RunEnd::finished);
    const auto reports = collector.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].outcomes,
              std::vector<RunOutcome>{RunOutcome::failed(ranking::FailReason::timeout)});
    EXPECT_EQ(server.request_count(), 2u);
}

TEST_F(BoardRunSim, StopEndsTheRunWithOnlyWholeChecksReported) {
    auto options = server.options();
    options.delay_ms = 300;
    server.set_options(options);
    const board::CheckPlan plan = sample_plan(catalogue, {"4033138", "1"});
    for (const bool from_handler : {false, true}) {
        Collector collector;
        std::vector<CheckReport> reports;
        {
            BoardRun* self = nullptr;
            auto collect = collector.handler();
            BoardRun run(plan, hosts_of(server), brisk_settings(), [&](const CheckReport& report) {
                collect(report);
                if (from_handler)
                    self->stop();
            });
            self = &run;
            ASSERT_TRUE(run.start());
            collector.wait_for_first();
            if (!from_handler)
                run.stop();
            const std::size_t at_stop = collector.reports().size();
            EXPECT_EQ(run.wait_until_done(), RunEnd::stopped);
            EXPECT_EQ(collector.reports().size(), at_stop) << "a report after stop()";
        }
        reports = collector.reports();
        EXPECT_LT(reports.size(), plan.listings.size());
        for (const CheckReport& report : reports) {
            EXPECT_TRUE(report.checked);
            ASSERT_EQ(report.outcomes.size(), 2u);
            EXPECT_EQ(report.outcomes[1], RunOutcome::not_in_top_1000()) << "read to the end";
        }
        expect_truthful(plan, reports, false);
    }
}

}  // namespace
