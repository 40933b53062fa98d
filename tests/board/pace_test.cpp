// The pace against a limiting market on the made-up clock: the simulator's
// own limiter (sim::RateWindow) answers beyond its limit with 429 and
// Retry-After: 1, the rest 50 ms after they were asked for.
#include <map>

#include "board/pace_memory.h"
#include "scheduler_fixture.h"
#include "sim_rate_window.h"

namespace {

using namespace boardtest;
using board::LearnedPace;

struct SimulatedRun {
    double seconds = 0;
    int pages = 0;
    int limited = 0;  // 429s
    double paused_s = 0;
    board::RunEnd end = board::RunEnd::running;
    board::LearnedPaces learned;
};

// Check 0 is read from page 1; every other check needs page 2 as well.
net::PageResult page_for(const board::FetchOrder& order) {
    return listing_page(order.check == 0 || order.page == 2 ? std::vector<std::string>{"11", "22"}
                                                            : std::vector<std::string>{"11"});
}

SimulatedRun run_against(int limit, const board::CheckPlan& plan,
                         const board::BoardSettings& settings, const board::LearnedPaces& start) {
    board::Scheduler scheduler(plan, test_hosts(), settings, 7, start);
    sim::RateWindow market(limit);
    FakeClock clock;
    const board::TimePoint began = clock.now;
    std::multimap<board::TimePoint, std::pair<std::uint64_t, net::PageResult>> answers;
    SimulatedRun run;
    while (!scheduler.done()) {
        while (const auto order = scheduler.next_fetch(clock.now)) {
            const bool admitted = market.admit(clock.now);
            run.pages += admitted ? 1 : 0;
            run.limited += admitted ? 0 : 1;
            answers.emplace(
                clock.now + 50ms,
                std::pair{order->ticket, admitted ? page_for(*order) : status_page(429, 1)});
        }
        std::optional<board::TimePoint> next = scheduler.next_wake();
        if (!answers.empty() && (!next || answers.begin()->first < *next))
            next = answers.begin()->first;
        if (!next)
            break;
        clock.now = std::max(clock.now, *next);
        while (!answers.empty() && answers.begin()->first <= clock.now) {
            scheduler.fetch_done(answers.begin()->second.first, answers.begin()->second.second,
                                 clock.now);
            answers.erase(answers.begin());
        }
    }
    run.seconds = std::chrono::duration<double>(clock.now - began).count();
    run.paused_s = scheduler.paused_s();
    run.end = scheduler.end();
    run.learned = scheduler.learned_paces();
    return run;
}

// 4 keywords x 5 sorts, 39 pages, at the default politeness (2.5 pages a
// second) against a market allowing 1: the first run pushes back early and
// still ends within 1.25 x pages / limit + its pauses + 5 s; the next one,
// starting from what the first left, meets no push-back.
TEST(Pace, OneEarlyPushBackCostsSecondsNotTheRun) {
    const board::BoardSettings settings;
    const board::CheckPlan plan = keyword_plan(20);
    const SimulatedRun first = run_against(1, plan, settings, {});
    ASSERT_EQ(first.end, board::RunEnd::finished);
    EXPECT_EQ(first.pages, 39);
    EXPECT_GE(first.limited, 1);
    EXPECT_LE(first.seconds, 1.25 * first.pages + first.paused_s + 5);
    const SimulatedRun second = run_against(1, plan, settings, first.learned);
    ASSERT_EQ(second.end, board::RunEnd::finished);
    EXPECT_EQ(second.limited, 0);
    EXPECT_LE(second.seconds, 1.25 * second.pages + 5);
}

// A board of three pages, every 30 minutes, under a limit of one page a
// second: each run is too short for speed_up_after pages, yet the kept pace
// keeps coming back up instead of sinking to the floor.
TEST(Pace, ASmallBoardsKeptPaceRecoversAcrossRuns) {
    const board::BoardSettings settings;  // floor 0.1
    const board::CheckPlan plan = keyword_plan(3);
    std::int64_t now_ms = 1'800'000'000'000;
    std::vector<board::StoredPace> kept;
    std::vector<double> paces;
    for (int run = 0; run < 16; ++run) {
        const SimulatedRun ran =
            run_against(1, plan, settings, board::learned_start_pace(kept, now_ms, settings));
        ASSERT_EQ(ran.end, board::RunEnd::finished) << run;
        const LearnedPace left = ran.learned.at("search.test");
        kept = {{"search.test", left, now_ms}};
        paces.push_back(left.pages_per_second);
        now_ms += 30 * 60 * 1000;
    }
    for (std::size_t run = 1; run < paces.size(); ++run)
        EXPECT_GE(paces[run], 0.4) << "run " << run;
    EXPECT_GE(*std::max_element(paces.begin() + 8, paces.end()), 0.9);
}

TEST(Pace, IsKeptPerWorkerOnlyOnASharedHistory) {
    EXPECT_EQ(board::pace_key("search.test:8080", "甲", false), "search.test:8080");
    EXPECT_EQ(board::pace_key("search.test:8080", "甲", true), "search.test:8080|甲");
    EXPECT_NE(board::pace_key("search.test", "甲", true),
              board::pace_key("search.test", "乙", true));
}

}  // namespace
