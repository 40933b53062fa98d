// The scheduler's decisions on a made-up clock.
#include <algorithm>
#include <cmath>
#include <map>

#include "board/pace_memory.h"
#include "net/response_parts.h"

#include "scheduler_fixture.h"

namespace {

using namespace boardtest;
using board::FetchOrder;
using board::RunEnd;
using board::Scheduler;
using ranking::FailReason;
using ranking::RunOutcome;
using ranking::RunStatus;

TEST(Scheduler, HoldsEachHostToItsCapAndMovesOnWhenOneAnswers) {
    board::CheckPlan plan = keyword_plan(6);
    plan.listings.push_back({ranking::QueryKind::category, "14", std::nullopt});
    plan.listings.push_back({ranking::QueryKind::category, "15", std::nullopt});
    Scheduler scheduler(plan, test_hosts(), unhurried_settings(), 1);
    FakeClock clock;
    std::map<std::string, std::vector<FetchOrder>> by_host;
    while (auto order = next_order(scheduler, clock))
        by_host[order->host].push_back(*order);
    EXPECT_EQ(by_host["search.test"].size(), 3u);
    EXPECT_EQ(by_host["ops.test"].size(), 2u);
    EXPECT_FALSE(scheduler.next_wake()) << "only an answer can let a fourth search request out";

    scheduler.fetch_done(by_host["search.test"][0].ticket, listing_page({"11", "22"}), clock.now);
    const auto after_answer = next_order(scheduler, clock);
    ASSERT_TRUE(after_answer);
    EXPECT_EQ(after_answer->host, "search.test");
    EXPECT_EQ(after_answer->check, 3u);
}

TEST(Scheduler, SpacesRequestsByThePageRateWithinTheJitter) {
    struct Row {
        double jitter;
        std::uint64_t seed;
    };
    for (const Row row : {Row{0.3, 1}, Row{0.3, 99}, Row{0, 7}}) {
        board::BoardSettings settings;
        settings.jitter = row.jitter;  // pages_per_second 2.5: 400 ms apart on average
        Scheduler scheduler(keyword_plan(30), test_hosts(), settings, row.seed);
        FakeClock clock;
        std::vector<Ms> gaps;
        board::TimePoint last{};
        while (auto order = next_order(scheduler, clock)) {
            if (last != board::TimePoint{})
                gaps.push_back(clock.since(last));
            last = clock.now;
            scheduler.fetch_done(order->ticket, listing_page({"22", "11"}), clock.now);
        }
        ASSERT_EQ(gaps.size(), 29u);
        const auto [shortest, longest] = std::minmax_element(gaps.begin(), gaps.end());
        EXPECT_GE(shortest->count(), 400 * (1 - row.jitter) - 1) << row.seed;
        EXPECT_LE(longest->count(), 400 * (1 + row.jitter) + 1) << row.seed;
        if (row.jitter > 0) {
            EXPECT_GT((*longest - *shortest).count(), 50) << "the spacing is not jittered";
        } else {
            EXPECT_EQ(*shortest, *longest);
        }
        EXPECT_EQ(scheduler.end(), RunEnd::finished);
    }
}

TEST(Scheduler, AsksForPageTwoOnlyWhileAGoodsItemIsMissing) {
    std::vector<std::string> page_one;
    std::vector<std::string> page_two;
    for (int i = 0; i < 500; ++i) {
        page_one.push_back(std::to_string(1000 + i));
        page_two.push_back(std::to_string(2000 + i));
    }
    struct Row {
        std::vector<std::string> goods;
        int pages;
        std::vector<RunOutcome> outcomes;
    };
    const Row rows[] = {
        {{"1000", "1499"}, 1, {RunOutcome::found_at(1), RunOutcome::found_at(500)}},
        {{"1007", "2003"}, 2, {RunOutcome::found_at(8), RunOutcome::found_at(504)}},
        {{"2000", "1"}, 2, {RunOutcome::found_at(501), RunOutcome::not_in_top_1000()}},
    };
    for (const Row& row : rows) {
        board::CheckPlan plan = keyword_plan(1);
        plan.goods_ids = row.goods;
        Scheduler scheduler(plan, test_hosts(), unhurried_settings(), 1);
        FakeClock clock;
        int requests = 0;
        while (auto order = next_order(scheduler, clock)) {
            ++requests;
            EXPECT_EQ(order->page, requests);
            EXPECT_NE(order->url.find("page=" + std::to_string(order->page)), std::string::npos);
            scheduler.fetch_done(order->ticket, listing_page(requests == 1 ? page_one : page_two),
                                 clock.now);
        }
        EXPECT_EQ(requests, row.pages) << row.goods[1];
        const auto reports = scheduler.take_reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].pages_read, row.pages);
        EXPECT_EQ(reports[0].outcomes, row.outcomes) << row.goods[1];
    }
}

// The first answer fails, the second brings the page.
TEST(Scheduler, RetriesTransientFailuresOnlyAndReportsTheRest) {
    struct Row {
        const char* what;
        net::PageResult first;
        bool retried;
        RunOutcome outcome;  // of goods 11
    };
    net::PageResult not_a_listing{"<html>oops</html>", 200, net::PageFailure::none, -1};
    const Row rows[] = {
        {"refused", refused_page(), true, RunOutcome::found_at(1)},
        {"time-out", {{}, 0, net::PageFailure::timeout, -1}, true, RunOutcome::found_at(1)},
        {"500", status_page(500), true, RunOutcome::found_at(1)},
        {"503", status_page(503), true, RunOutcome::found_at(1)},
        {"not a listing", not_a_listing, true, RunOutcome::found_at(1)},
        {"404", status_page(404), false, RunOutcome::failed(FailReason::http_status, 404)},
        {"403", status_page(403), false, RunOutcome::failed(FailReason::http_status, 403)},
    };
    for (const Row& row : rows) {
        Scheduler scheduler(keyword_plan(1), test_hosts(), unhurried_settings(), 1);
        FakeClock clock;
        std::vector<int> attempts;
        while (auto order = next_order(scheduler, clock)) {
            attempts.push_back(order->attempt);
            scheduler.fetch_done(order->ticket,
                                 attempts.size() == 1 ? row.first : listing_page({"11", "22"}),
                                 clock.now);
        }
        const std::vector<int> expected =
            row.retried ? std::vector<int>{1, 2} : std::vector<int>{1};
        EXPECT_EQ(attempts, expected) << row.what;
        const auto reports = scheduler.take_reports();
        ASSERT_EQ(reports.size(), 1u) << row.what;
        EXPECT_EQ(reports[0].outcomes[0], row.outcome) << row.what;
        EXPECT_EQ(reports[0].statuses.size(), attempts.size()) << row.what;
    }
}

TEST(Scheduler, BacksOffDoublingWithJitterAndFailsAfterTheLastRetry) {
    for (std::uint64_t seed : {1u, 2u, 3u}) {
        board::BoardSettings settings = unhurried_settings();
        settings.jitter = 0.3;
        Scheduler scheduler(keyword_plan(1), test_hosts(), settings, seed);
        FakeClock clock;
        std::vector<Ms> waits;
        board::TimePoint failed_at{};
        while (auto order = next_order(scheduler, clock)) {
            if (failed_at != board::TimePoint{})
                waits.push_back(clock.since(failed_at));
            clock.advance(25ms);  // the answer takes a while
            failed_at = clock.now;
            scheduler.fetch_done(order->ticket, refused_page(), clock.now);
        }
        ASSERT_EQ(waits.size(), 3u) << "three retries after the first request";
        for (std::size_t i = 0; i < waits.size(); ++i) {
            const double base = 1000.0 * (1 << i);
            EXPECT_GE(waits[i].count(), base * 0.7 - 1) << seed << " retry " << i + 1;
            EXPECT_LE(waits[i].count(), base * 1.3 + 1) << seed << " retry " << i + 1;
        }
        const auto reports = scheduler.take_reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].outcomes,
                  std::vector<RunOutcome>(2, RunOutcome::failed(FailReason::connect)));
        EXPECT_EQ(reports[0].statuses, std::vector<int>(4, 0));
    }
}

TEST(Scheduler, WaitsAtLeastTheRetryAfterOfA503) {
    Scheduler scheduler(keyword_plan(1), test_hosts(), unhurried_settings(), 1);
    FakeClock clock;
    const auto first = next_order(scheduler, clock);
    ASSERT_TRUE(first);
    const board::TimePoint answered = clock.now;
    scheduler.fetch_done(first->ticket, status_page(503, 7), clock.now);
    clock.advance(6999ms);
    EXPECT_FALSE(scheduler.next_fetch(clock.now));
    const auto retry = next_order(scheduler, clock);
    ASSERT_TRUE(retry);
    EXPECT_GE(clock.since(answered), 7000ms);
    EXPECT_EQ(retry->attempt, 2);
}

TEST(Scheduler, PausesTheHostAndHalvesItsPaceAndConcurrencyOnA429) {
    struct Row {
        int retry_after;
        Ms pause;
    };
    for (const Row row : {Row{5, 5000ms}, Row{-1, 60000ms}}) {
        Scheduler scheduler(keyword_plan(8), test_hosts(), unhurried_settings(), 1);
        FakeClock clock;
        std::vector<FetchOrder> out;
        while (auto order = next_order(scheduler, clock))
            out.push_back(*order);
        ASSERT_EQ(out.size(), 3u);
        const board::TimePoint limited_at = clock.now;
        scheduler.fetch_done(out[0].ticket, status_page(429, row.retry_after), clock.now);
        EXPECT_EQ(scheduler.concurrency(), 1);
        EXPECT_EQ(scheduler.pace_by_host().at("search.test"), 25);
        EXPECT_EQ(scheduler.push_backs(), 1);
        // The others were sent before the push-back: their 429s are no news.
        scheduler.fetch_done(out[1].ticket, status_page(429, row.retry_after), clock.now);
        scheduler.fetch_done(out[2].ticket, listing_page({"11", "22"}), clock.now);
        EXPECT_EQ(scheduler.push_backs(), 1);
        EXPECT_FALSE(scheduler.next_fetch(limited_at + row.pause - 1ms));

        const auto resumed = next_order(scheduler, clock);
        ASSERT_TRUE(resumed);
        EXPECT_GE(clock.since(limited_at), row.pause);
        EXPECT_FALSE(scheduler.next_fetch(clock.now + 10s)) << "one request at a time now";
    }
}

// Retry-After as an HTTP-date (the delay form is in the tests above), on a
// 429 and on a 503: the host is paused until then, and it is push-back.
TEST(Scheduler, PausesForARetryAfterGivenAsAnHttpDate) {
    // Wed, 09 Dec 2026 11:00:00 GMT
    const auto wall = std::chrono::system_clock::from_time_t(1796814000);
    struct Row {
        int status;
        const char* header;
        Ms pause;
    };
    const Row rows[] = {
        {429, "Retry-After: Wed, 09 Dec 2026 11:00:12 GMT\r\n", 12000ms},
        {503, "retry-after: Wednesday, 09-Dec-26 11:00:12 GMT\r\n", 12000ms},
        {429, "Retry-After: Wed, 09 Dec 2026 10:59:00 GMT\r\n", 0ms},
    };
    for (const Row& row : rows) {
        Scheduler scheduler(keyword_plan(2), test_hosts(), unhurried_settings(), 1);
        FakeClock clock;
        const auto first = next_order(scheduler, clock);
        ASSERT_TRUE(first);
        const board::TimePoint answered = clock.now;
        scheduler.fetch_done(first->ticket,
                             status_page(row.status, net::retry_after_seconds(row.header, wall)),
                             clock.now);
        EXPECT_EQ(scheduler.push_backs(), 1) << row.header;
        EXPECT_EQ(scheduler.paused_until(), answered + row.pause) << row.header;
        const auto retry = next_order(scheduler, clock);
        ASSERT_TRUE(retry);
        EXPECT_GE(clock.since(answered), row.pause) << row.header;
    }
}

TEST(Scheduler, PausesAfterFailuresInARow) {
    board::BoardSettings settings = unhurried_settings();
    settings.failures_before_pause = 3;
    Scheduler scheduler(keyword_plan(6), test_hosts(), settings, 1);
    FakeClock clock;
    std::vector<FetchOrder> out;
    while (auto order = next_order(scheduler, clock))
        out.push_back(*order);
    ASSERT_EQ(out.size(), 3u);
    scheduler.fetch_done(out[0].ticket, refused_page(), clock.now);
    scheduler.fetch_done(out[1].ticket, listing_page({"11", "22"}), clock.now);  // breaks the row
    scheduler.fetch_done(out[2].ticket, refused_page(), clock.now);
    EXPECT_EQ(scheduler.push_backs(), 0);
    for (int i = 0; i < 2; ++i) {
        const auto order = next_order(scheduler, clock);
        ASSERT_TRUE(order);
        scheduler.fetch_done(order->ticket, refused_page(), clock.now);
    }
    EXPECT_EQ(scheduler.push_backs(), 1);
    EXPECT_EQ(scheduler.concurrency(), 1);
    EXPECT_EQ(scheduler.pace_by_host().at("search.test"), 25);
    EXPECT_EQ(scheduler.paused_until(), clock.now + 60s);
}

// Push-back halves the pace down to the floor; pages read in a row take it
// back quickly (halfway every 4 pages) to 80 % of the pace last pushed back
// at, then slowly (a tenth of pages_per_second every speed_up_after pages)
// once ten rises' worth of pages went by since the push-back.
TEST(Scheduler, HalvesThePaceToTheFloorClimbsBackQuicklyBelowTheLimitThenSlowly) {
    board::BoardSettings settings = unhurried_settings();
    settings.pages_per_second = 10;
    settings.min_pages_per_second = 3;
    settings.speed_up_after = 8;
    Scheduler scheduler(keyword_plan(100), test_hosts(), settings, 1);
    FakeClock clock;
    std::vector<double> paces;
    const auto answer = [&](const net::PageResult& page) {
        const auto order = next_order(scheduler, clock);
        ASSERT_TRUE(order);
        scheduler.fetch_done(order->ticket, page, clock.now);
        paces.push_back(scheduler.pace_by_host().at("search.test"));
    };
    answer(status_page(429, 0));
    answer(listing_page({"11", "22"}));  // keeps the run from giving up
    answer(status_page(429, 0));         // pushed back at 5: the floor, 3; the target 4
    for (int i = 0; i < 88; ++i)
        answer(listing_page({"11", "22"}));
    std::vector<double> expected = {5, 5, 3};
    const std::map<int, double> rises = {{4, 3.5}, {8, 3.75}, {12, 3.875},
                                         {16, 4},  {80, 5},   {88, 6}};
    for (int page = 1; page <= 88; ++page) {
        const auto rise = rises.find(page);
        expected.push_back(rise != rises.end() ? rise->second : expected.back());
    }
    EXPECT_EQ(paces, expected);
    EXPECT_EQ(scheduler.concurrency(), 3) << "one more request at once every 8 pages";
}

// The rules that end a run: give_up_after push-backs in a row with no page
// read between, a Retry-After beyond max_pause_s, more pausing than
// pause_budget_s; push-back short of them never does.
TEST(Scheduler, GivesUpOnlyWhenPushBackGoesOnAndMarksTheRestRateLimited) {
    struct Row {
        const char* what;
        int give_up_after;
        double pause_budget_s;
        std::vector<int> retry_afters;  // one 429 each, a page read after the one marked 0
        int push_backs;                 // when the run ends; 0: it does not
    };
    const Row rows[] = {
        {"a page read between", 3, 1800, {1, 1, 0, 1, 1, 1}, 5},
        {"not in a row", 3, 1800, {1, 1, 0, 1, 1, 0, 1}, 0},
        {"beyond max_pause_s", 30, 1800, {1, 901}, 2},
        {"at max_pause_s", 30, 1800, {900}, 0},
        {"over the budget", 30, 10, {4, 4, 0, 4}, 3},
        {"within the budget", 30, 12, {4, 4, 0, 4}, 0},
    };
    for (const Row& row : rows) {
        board::BoardSettings settings = unhurried_settings();
        settings.give_up_after = row.give_up_after;
        settings.pause_budget_s = row.pause_budget_s;
        Scheduler scheduler(keyword_plan(8), test_hosts(), settings, 1);
        FakeClock clock;
        const auto first = next_order(scheduler, clock);
        ASSERT_TRUE(first);
        scheduler.fetch_done(first->ticket, listing_page({"11", "22"}), clock.now);
        for (const int retry_after : row.retry_afters) {
            const auto order = next_order(scheduler, clock);
            ASSERT_TRUE(order) << row.what;
            scheduler.fetch_done(
                order->ticket,
                retry_after == 0 ? listing_page({"11", "22"}) : status_page(429, retry_after),
                clock.now);
        }
        if (row.push_backs == 0) {
            EXPECT_EQ(scheduler.end(), RunEnd::running) << row.what;
            continue;
        }
        EXPECT_EQ(scheduler.end(), RunEnd::gave_up) << row.what;
        EXPECT_EQ(scheduler.push_backs(), row.push_backs) << row.what;
        EXPECT_FALSE(scheduler.next_wake());
        EXPECT_EQ(scheduler.in_flight(), 0u);
        const auto reports = scheduler.take_reports();
        ASSERT_EQ(reports.size(), 8u) << row.what;
        int not_checked = 0;
        for (const board::CheckReport& report : reports) {
            // Never a not-in-1000: a check whose requests failed reports the
            // failure, one never tried is not checked because of the limit.
            for (const RunOutcome& o : report.outcomes)
                EXPECT_NE(o.status, ranking::RunStatus::not_in_top_1000) << row.what;
            EXPECT_EQ(report.not_checked_reason,
                      report.checked ? std::string() : board::rate_limited_text());
            not_checked += report.checked ? 0 : 1;
        }
        EXPECT_GE(not_checked, 1) << row.what;
    }
}

TEST(Scheduler, GivesUpAtTheThirdPushBackInARowFailingTriedChecksAndMarkingTheRestNotChecked) {
    Scheduler scheduler(keyword_plan(5), test_hosts(), unhurried_settings(), 1);
    FakeClock clock;
    const auto first = next_order(scheduler, clock);
    ASSERT_TRUE(first);
    scheduler.fetch_done(first->ticket, listing_page({"11", "22"}), clock.now);
    for (int push_back = 1; push_back <= 3; ++push_back) {
        const auto order = next_order(scheduler, clock);
        ASSERT_TRUE(order) << push_back;
        scheduler.fetch_done(order->ticket, status_page(429, 1), clock.now);
        EXPECT_EQ(scheduler.push_backs(), push_back);
    }
    EXPECT_EQ(scheduler.end(), RunEnd::gave_up);
    EXPECT_FALSE(scheduler.next_wake());
    EXPECT_EQ(scheduler.in_flight(), 0u);
    const auto reports = scheduler.take_reports();
    ASSERT_EQ(reports.size(), 5u);
    EXPECT_TRUE(reports[0].checked);
    EXPECT_EQ(reports[0].outcomes[0], RunOutcome::found_at(1));
    int not_checked = 0;
    for (std::size_t i = 1; i < reports.size(); ++i) {
        // Never a not-in-1000: a check whose requests failed reports the failure,
        // one never tried is not checked.
        for (const RunOutcome& o : reports[i].outcomes)
            EXPECT_EQ(o.status, ranking::RunStatus::failed) << i;
        EXPECT_EQ(reports[i].checked, !reports[i].outcomes.empty()) << i;
        not_checked += reports[i].checked ? 0 : 1;
        EXPECT_TRUE(board::needs_recheck(reports[i]));
    }
    EXPECT_GE(not_checked, 1);
}

// Any Retry-After beyond max_pause_s (900 s) ends the run, however it is
// written and whichever request met it; one within it is waited for.
TEST(Scheduler, GivesUpAtOnceWhenTheServerAsksForTooLongAWait) {
    const auto wall = std::chrono::system_clock::from_time_t(1796814000);  // 09 Dec 2026 11:00 GMT
    struct Row {
        const char* value;
        bool gives_up;
    };
    const Row rows[] = {
        {"900", false},
        {"0000000900", false},
        {"901", true},
        {"7200", true},
        {"999999999", true},
        {"2147483648", true},
        {"99999999999999999999999", true},
        {"Wed, 09 Dec 2026 11:15:00 GMT", false},
        {"Wed, 09 Dec 2026 11:15:01 GMT", true},
        {"Fri, 31 Dec 9999 23:59:59 GMT", true},
    };
    for (const Row& row : rows) {
        const int retry_after =
            net::retry_after_seconds(std::string("Retry-After: ") + row.value + "\r\n", wall);
        // The first answer pushes back; the long wait comes with the one sent
        // before that, or with the first request after the pause.
        for (const bool sent_before_push_back : {true, false}) {
            Scheduler scheduler(keyword_plan(4), test_hosts(), unhurried_settings(), 1);
            FakeClock clock;
            const auto first = next_order(scheduler, clock);
            const auto second = next_order(scheduler, clock);
            ASSERT_TRUE(first && second);
            scheduler.fetch_done(first->ticket, status_page(429, 1), clock.now);
            auto limited = second;
            if (!sent_before_push_back) {
                scheduler.fetch_done(second->ticket, listing_page({"11"}), clock.now);
                limited = next_order(scheduler, clock);
                ASSERT_TRUE(limited);
            }
            scheduler.fetch_done(limited->ticket, status_page(429, retry_after), clock.now);
            EXPECT_EQ(scheduler.end(), row.gives_up ? RunEnd::gave_up : RunEnd::running)
                << row.value << (sent_before_push_back ? ", sent before" : ", sent after");
        }
    }
}

TEST(Scheduler, StartsAtTheLearnedPaceOfItsHost) {
    board::BoardSettings settings = unhurried_settings();
    settings.pages_per_second = 10;
    struct Row {
        board::LearnedPaces learned;
        double pace;
    };
    const Row rows[] = {{{}, 10}, {{{"search.test", {2.0}}}, 2}, {{{"ops.test", {2.0}}}, 10}};
    for (const Row& row : rows) {
        Scheduler scheduler(keyword_plan(3), test_hosts(), settings, 1, row.learned);
        FakeClock clock;
        ASSERT_TRUE(next_order(scheduler, clock));
        const board::TimePoint first = clock.now;
        ASSERT_TRUE(next_order(scheduler, clock));
        EXPECT_GE(clock.since(first).count(), 1000 / row.pace - 1);
        EXPECT_LE(clock.since(first).count(), 1030 / row.pace);
        EXPECT_EQ(scheduler.pace_by_host().at("search.test"), row.pace);
    }
}

// A kept pace counts while it is fresh, and drifts back toward
// pages_per_second as it ages: halfway at half of remember_pace_h.
TEST(PaceMemory, TakesTheNewestFreshPaceOfEachHostDriftingBackAsItAges) {
    board::BoardSettings settings;  // 0.1 .. 2.5
    settings.remember_pace_h = 10;
    const std::int64_t now = 1'800'000'000'000;
    const std::int64_t hour = 3'600'000;
    const std::vector<board::StoredPace> stored = {
        {"a", {1.2}, now - 2 * hour},  {"a", {0.5, 1.0, 7}, now - hour},  // the newer counts
        {"b", {9.0}, now - hour},      {"c", {0.01}, now},                // clamped
        {"g", {0.5}, now - 5 * hour},                                     // halfway back
        {"d", {1.0}, now - 11 * hour},                                    // too old
        {"e", {1.0}, now + hour},                                         // from a clock set back
        {"f", {std::nan("")}, now},
    };
    const std::map<std::string, board::LearnedPace> expected = {
        {"a", {0.7, 1.0, 7}}, {"b", {2.5}}, {"c", {0.1}}, {"g", {1.5}}};
    const auto learned = board::learned_start_pace(stored, now, settings);
    ASSERT_EQ(learned.size(), expected.size());
    for (const auto& [host, pace] : expected) {
        EXPECT_NEAR(learned.at(host).pages_per_second, pace.pages_per_second, 1e-9) << host;
        EXPECT_EQ(learned.at(host).pushed_back_at, pace.pushed_back_at) << host;
        EXPECT_EQ(learned.at(host).pages_since_push_back, pace.pages_since_push_back) << host;
    }
}

TEST(Scheduler, StopEndsAtOnceAndIgnoresLateAnswers) {
    Scheduler scheduler(keyword_plan(4), test_hosts(), unhurried_settings(), 1);
    FakeClock clock;
    const auto order = next_order(scheduler, clock);
    ASSERT_TRUE(order);
    scheduler.stop();
    scheduler.fetch_done(order->ticket, listing_page({"11", "22"}), clock.now);
    EXPECT_EQ(scheduler.end(), RunEnd::stopped);
    EXPECT_FALSE(scheduler.next_fetch(clock.now + 1h));
    EXPECT_TRUE(scheduler.take_reports().empty()) << "a half-read board reports nothing more";
}

}  // namespace
