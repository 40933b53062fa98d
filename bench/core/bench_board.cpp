// A board of 20 keywords x 5 sorts for one own goods item and two
// competitors against the simulator answering after 300 ms, at the default
// politeness (3 requests per host, 2.5 pages a second):
// - wall time against its bound, 1.10 x (pages fetched / pages_per_second) + 1 s;
// - page requests against the same board for the own goods alone, and each
//   against the pages the catalogue says the read needs (target: equal; a
//   competitor costs a request only where it sends a check on to page 2);
// - against a simulator limiting listing pages to 2, then 1 a second (429 with
//   Retry-After: 1 beyond), and the first 4 keywords alone at 1 a second:
//   every cell true, wall time against 1.25 x pages / limit + the pauses +
//   5 s, 429s per 100 pages after the first 50 pages, and the same for a
//   second run started from what the first left;
// - resident memory after 10 runs against after the first (target: no growth
//   beyond noise). These runs use a quick simulator and page rate, so the
//   measurement takes minutes, not a quarter of an hour: the same code runs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "board/board_run.h"
#include "board/check_plan.h"
#include "catalogue_keywords.h"
#include "sim_catalogue.h"
#include "sim_server.h"
#include "text/codepage.h"

namespace {

using Clock = std::chrono::steady_clock;

sim::Server& simulator() {
    static sim::Server server([] {
        sim::Options o;
        o.port = 0;
        return o;
    }());
    static const bool started = server.start();
    (void)started;
    return server;
}

void set_delay(int ms) {
    sim::Options o = simulator().options();
    o.delay_ms = ms;
    simulator().set_options(o);
}

void set_rate_limit(int per_second) {
    sim::Options o = simulator().options();
    o.rate_limit = per_second;
    simulator().set_options(o);
}

board::CheckPlan board_plan(bool with_competitors, std::size_t keywords = 20) {
    const sim::Catalogue catalogue(simulator().options().seed);
    board::Board b;
    b.name = "bench";
    b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
    if (with_competitors) {
        b.competitors = {{catalogue.goods()[10].id, {}, {}, {}},
                         {catalogue.goods()[20].id, {}, {}, {}}};
    }
    b.keywords = bench::catalogue_keywords(catalogue, keywords);
    return board::plan_checks(b);
}

// What reading the plan must cost: one page per check, two where some goods
// item is not on page 1 (the simulator's catalogue knows).
int needed_pages(const board::CheckPlan& plan) {
    const sim::Catalogue catalogue(simulator().options().seed);
    int pages = 0;
    for (const ranking::Listing& listing : plan.listings) {
        const auto ids = catalogue.keyword_listing(text::gbk_to_utf8(listing.key),
                                                   sim::kAllSorts[static_cast<int>(*listing.sort)]);
        const auto page_end = ids.begin() + std::min<std::ptrdiff_t>(500, std::ssize(ids));
        const bool all_on_page_one =
            std::all_of(plan.goods_ids.begin(), plan.goods_ids.end(), [&](const std::string& id) {
                return std::find(ids.begin(), page_end, id) != page_end;
            });
        pages += all_on_page_one ? 1 : 2;
    }
    return pages;
}

struct RunCount {
    double seconds = 0;
    int pages = 0;
    int failed_checks = 0;
    std::vector<board::CheckReport> reports;  // in the order they arrived
    board::RunStatus end;
};

RunCount run_board(const board::CheckPlan& plan, const board::BoardSettings& settings,
                   const board::LearnedPaces& start_pace = {}) {
    net::Hosts hosts;
    hosts.goods_page = hosts.search_api = hosts.operations_api = simulator().host();
    RunCount count;
    simulator().reset_counts();
    simulator().clear_requests();  // the simulator's own log would grow with every run
    const auto start = Clock::now();
    {
        board::BoardRun run(plan, hosts, settings, [&count](const board::CheckReport& report) {
            count.failed_checks += board::needs_recheck(report) ? 1 : 0;
            count.reports.push_back(report);
        });
        run.set_start_pace(start_pace);
        run.start();
        // A line a few seconds on stderr, so a slow run shows where its time goes.
        while (!run.done()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (std::getenv("KORVEL_BENCH_PROGRESS") == nullptr)
                continue;
            const board::RunStatus status = run.status();
            std::fprintf(stderr, "%zu/%zu pace %.3f paused %.0fs %s\n", status.reported,
                         status.total, status.pages_per_second, status.paused_s,
                         status.paused_until ? "(paused)" : "");
        }
        run.wait_until_done();
        count.end = run.status();
    }
    count.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    count.pages = simulator().counts().listing_pages();
    return count;
}

int pages_read(const RunCount& run) {
    int pages = 0;
    for (const board::CheckReport& report : run.reports)
        pages += report.pages_read;
    return pages;
}

// 429s per 100 pages read once the first `settle` pages were read (by the
// order the checks were reported in).
double limited_per_100_after(const RunCount& run, int settle) {
    int pages = 0;
    int limited = 0;
    int counted_pages = 0;
    for (const board::CheckReport& report : run.reports) {
        if (pages >= settle) {
            counted_pages += report.pages_read;
            limited +=
                static_cast<int>(std::count(report.statuses.begin(), report.statuses.end(), 429));
        }
        pages += report.pages_read;
    }
    return counted_pages == 0 ? 0 : 100.0 * limited / counted_pages;
}

// Cells not equal to what the catalogue says, not-checked or failed checks included.
int cells_off_truth(const board::CheckPlan& plan, const RunCount& run) {
    const sim::Catalogue catalogue(simulator().options().seed);
    int off = static_cast<int>(plan.listings.size() - run.reports.size()) *
              static_cast<int>(plan.goods_ids.size());
    for (const board::CheckReport& report : run.reports) {
        const auto ids =
            catalogue.keyword_listing(text::gbk_to_utf8(report.listing.key),
                                      sim::kAllSorts[static_cast<int>(*report.listing.sort)]);
        for (std::size_t g = 0; g < plan.goods_ids.size(); ++g) {
            const int position =
                sim::expected_position(sim::ListingKind::keyword, ids, plan.goods_ids[g]);
            const ranking::RunOutcome truth = position > 0 ? ranking::RunOutcome::found_at(position)
                                                           : ranking::RunOutcome::not_in_top_1000();
            off += report.checked && report.outcomes.at(g) == truth ? 0 : 1;
        }
    }
    return off;
}

long resident_kb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = -1;
    if (!(statm >> size >> resident))
        return -1;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_BoardTwentyKeywordsFiveSorts(benchmark::State& state) {
    const board::BoardSettings settings;  // the defaults
    set_delay(300);
    RunCount board_run;
    RunCount own_alone;
    for (auto _ : state) {
        board_run = run_board(board_plan(true), settings);
        own_alone = run_board(board_plan(false), settings);
        state.SetIterationTime(board_run.seconds);
    }
    const double bound = 1.10 * board_run.pages / settings.pages_per_second + 1.0;
    state.counters["checks"] = static_cast<double>(board_plan(true).listings.size());
    state.counters["wall_s"] = board_run.seconds;
    state.counters["bound_s"] = bound;
    state.counters["pages"] = board_run.pages;
    state.counters["pages_own_alone"] = own_alone.pages;
    state.counters["pages_needed"] = needed_pages(board_plan(true));
    state.counters["pages_own_alone_needed"] = needed_pages(board_plan(false));
    state.counters["own_alone_s"] = own_alone.seconds;
    state.counters["failed_checks"] = board_run.failed_checks;
    state.SetLabel(board_run.seconds <= bound ? "within bound" : "OVER BOUND");
}
BENCHMARK(BM_BoardTwentyKeywordsFiveSorts)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

// The same board (or its first `keywords` keywords) against a marketplace
// that answers at most `limit` listing pages a second (429 with
// Retry-After: 1 beyond), at the default settings:
// every cell must equal the catalogue, within 1.25 x pages / limit + the
// pauses + 5 s. Then a second run starting at the pace the first ended with.
void BM_BoardUnderRateLimit(benchmark::State& state) {
    const int limit = static_cast<int>(state.range(0));
    const board::BoardSettings settings;
    const board::CheckPlan plan = board_plan(true, static_cast<std::size_t>(state.range(1)));
    set_delay(0);
    set_rate_limit(limit);
    RunCount first;
    RunCount second;
    // Each run starts with the limiter's window empty, as runs half an hour
    // apart do.
    const auto quiet = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1100)); };
    for (auto _ : state) {
        quiet();
        first = run_board(plan, settings);
        quiet();
        second = run_board(plan, settings, first.end.learned);
        state.SetIterationTime(first.seconds);
    }
    set_rate_limit(0);
    const auto bound = [limit](const RunCount& run) {
        return 1.25 * pages_read(run) / limit + run.end.paused_s + 5;
    };
    int limited_first = 0;
    int limited_second = 0;
    for (const board::CheckReport& report : first.reports)
        limited_first +=
            static_cast<int>(std::count(report.statuses.begin(), report.statuses.end(), 429));
    for (const board::CheckReport& report : second.reports)
        limited_second +=
            static_cast<int>(std::count(report.statuses.begin(), report.statuses.end(), 429));
    state.counters["pages"] = pages_read(first);
    state.counters["wall_s"] = first.seconds;
    state.counters["bound_s"] = bound(first);
    state.counters["paused_s"] = first.end.paused_s;
    state.counters["429s"] = limited_first;
    state.counters["429_per_100_settled"] = limited_per_100_after(first, 50);
    state.counters["cells_off"] = cells_off_truth(plan, first);
    state.counters["end_pace"] = first.end.pages_per_second;
    state.counters["2nd_wall_s"] = second.seconds;
    state.counters["2nd_bound_s"] = bound(second);
    state.counters["2nd_429s"] = limited_second;
    state.counters["2nd_429_per_100"] = limited_per_100_after(second, 0);
    state.counters["2nd_cells_off"] = cells_off_truth(plan, second);
    const bool within = first.seconds <= bound(first) && second.seconds <= bound(second);
    const bool truthful = cells_off_truth(plan, first) == 0 && cells_off_truth(plan, second) == 0;
    state.SetLabel(std::string(within ? "within bound" : "OVER BOUND") +
                   (truthful ? ", every cell true" : ", CELLS OFF"));
}
BENCHMARK(BM_BoardUnderRateLimit)
    ->Args({2, 20})
    ->Args({1, 20})
    ->Args({1, 4})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_BoardResidentMemoryOverTenRuns(benchmark::State& state) {
    board::BoardSettings settings;
    settings.pages_per_second = 50;
    set_delay(0);
    const board::CheckPlan plan = board_plan(true);
    long after_first = 0;
    long after_tenth = 0;
    for (auto _ : state) {
        for (int run = 1; run <= 10; ++run) {
            run_board(plan, settings);
            if (run == 1)
                after_first = resident_kb();
        }
        after_tenth = resident_kb();
    }
    state.counters["rss_first_kb"] = static_cast<double>(after_first);
    state.counters["rss_tenth_kb"] = static_cast<double>(after_tenth);
    state.counters["growth_kb"] = static_cast<double>(after_tenth - after_first);
}
BENCHMARK(BM_BoardResidentMemoryOverTenRuns)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

BENCHMARK_MAIN();
