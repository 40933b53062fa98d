// A board of 20 keywords x 5 sorts for one own goods item and two
// competitors against the simulator answering after 300 ms, at the default
// politeness (3 requests per host, 2.5 pages a second):
// - wall time against its bound, 1.10 x (pages fetched / pages_per_second) + 1 s;
// - page requests against the same board for the own goods alone, and each
//   against the pages the catalogue says the read needs (target: equal; a
//   competitor costs a request only where it sends a check on to page 2);
// - resident memory after 10 runs against after the first (target: no growth
//   beyond noise). These runs use a quick simulator and page rate, so the
//   measurement takes minutes, not a quarter of an hour: the same code runs.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>

#include "board/board_run.h"
#include "board/check_plan.h"
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

// The sample keywords, then level-2 category names until there are 20
// different ones.
std::vector<std::string> twenty_keywords(const sim::Catalogue& catalogue) {
    std::vector<std::string> keywords(sim::kSampleKeywords.begin(), sim::kSampleKeywords.end());
    std::set<std::string> seen(keywords.begin(), keywords.end());
    for (const sim::Category& level1 : catalogue.level1()) {
        for (const sim::Category& level2 : catalogue.children(level1.id)) {
            if (keywords.size() < 20 && seen.insert(level2.name).second)
                keywords.push_back(level2.name);
        }
    }
    for (std::string& keyword : keywords)
        keyword = text::utf8_to_gbk(keyword);
    return keywords;
}

board::CheckPlan board_plan(bool with_competitors) {
    const sim::Catalogue catalogue(simulator().options().seed);
    board::Board b;
    b.name = "bench";
    b.own = {{std::string(sim::kSampleGoodsId), {}, {}, {}}};
    if (with_competitors) {
        b.competitors = {{catalogue.goods()[10].id, {}, {}, {}},
                         {catalogue.goods()[20].id, {}, {}, {}}};
    }
    b.keywords = twenty_keywords(catalogue);
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
};

RunCount run_board(const board::CheckPlan& plan, const board::BoardSettings& settings) {
    net::Hosts hosts;
    hosts.goods_page = hosts.search_api = hosts.operations_api = simulator().host();
    int failed = 0;
    simulator().reset_counts();
    simulator().clear_requests();  // the simulator's own log would grow with every run
    const auto start = Clock::now();
    {
        board::BoardRun run(plan, hosts, settings, [&failed](const board::CheckReport& report) {
            failed += board::needs_recheck(report) ? 1 : 0;
        });
        run.start();
        run.wait_until_done();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return {seconds, simulator().counts().listing_pages(), failed};
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
