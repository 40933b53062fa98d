// Several `korvel-check --serve` workers sharing one history, as an agency
// runs them on several machines:
// - 12 boards of 10 keywords x 5 sorts (the sample goods as the own goods
//   item), all due at once, in one PostgreSQL history, run by 1, 2 and 4
//   workers, each reading its own simulator behind a rate limit of its own:
//   wall time from the workers' start until every board has a run record,
//   the checks recorded, and the speed-up against one worker (ideal: N);
// - one worker on the same boards in a SQLite file against the same on the
//   server, at that rate limit and without one: the time per recorded check
//   on each engine; then bench_record_check's cost of one record_check in
//   process, on both engines.
//
//   bench_workers [URL]
//
// The server is URL, else KORVEL_BENCH_PG_URL, else KORVEL_TEST_PG_URL, else
// a throw-away one (scripts/pg-test-server.sh). Each measurement has a
// schema (or a file) of its own, dropped afterwards. About 7 minutes.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "catalogue_keywords.h"
#include "due_boards.h"
#include "fresh_history.h"
#include "history/store.h"
#include "plain/temp_dir.h"
#include "run_process.h"
#include "settings_text.h"
#include "sim_catalogue.h"
#include "worker_fleet.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBoards = 12;
constexpr std::size_t kKeywords = 10;
// Each worker's address may ask its simulator this many times a second; the
// workers keep under it, so one worker's whole run takes 60-120 s.
constexpr int kRateLimit = 12;
const std::string kPoliteBoard = "[board]\npages_per_second=10\njitter=0.1\nbackoff_s=0.5\n";
// A guard against a hang only: a measurement that takes longer is reported as unfinished.
constexpr std::chrono::seconds kMeasurementLimit{300};
// bench_record_check's own measurement, kept short.
constexpr const char* kRecordChecks = "2000";

// Set by Ctrl-C or SIGTERM: the measurement going ends, its workers are
// stopped and its schema dropped, the throw-away server stopped; nothing is
// left running.
volatile std::sig_atomic_t interrupted = 0;

extern "C" void on_interrupt(int) {
    interrupted = 1;
}

struct Measurement {
    std::string engine;
    int workers = 0;
    int rate_limit = 0;
    bool finished = false;
    double wall_s = 0;
    std::int64_t checks = 0;
    int runs = 0;     // run records, every board's
    int done = 0;     // boards whose last run read everything
    int skipped = 0;  // starts recorded as skipped (a board held by another worker)
    int pages = 0;
    int limited = 0;           // the simulators' 429s
    std::string per_worker{};  // runs each worker started, "3+3+4+2"
    std::vector<int> exit_codes{};
    std::string problem{};
};

int boards_with_a_run(const history::Store& store, const std::vector<std::string>& names) {
    int with_run = 0;
    for (const std::string& name : names) {
        const auto last = store.last_run(name);
        with_run += last.ok() && last.value() ? 1 : 0;
    }
    return with_run;
}

void count_runs(const history::Store& store, const std::vector<std::string>& names,
                Measurement& m) {
    m.checks = store.count_checks().ok() ? store.count_checks().value() : -1;
    for (const std::string& name : names) {
        if (const auto starts = store.run_starts(name, 0); starts)
            m.runs += static_cast<int>(starts.value().size());
        if (const auto last = store.last_run(name); last && last.value())
            m.done += last.value()->how_ended == "done" ? 1 : 0;
        if (const auto notices = store.notices(name); notices) {
            for (const history::Notice& n : notices.value())
                m.skipped += n.kind == "skipped" ? 1 : 0;
        }
    }
}

// The runs a worker's journal says it started.
int runs_started(const std::string& said) {
    static const std::string started = "：开始检查";
    int runs = 0;
    for (auto at = said.find(started); at != std::string::npos; at = said.find(started, at + 1))
        ++runs;
    return runs;
}

Measurement measure(const std::string& engine, const bench::FreshHistory& where,
                    const bench::FleetSettings& settings) {
    Measurement m{.engine = engine, .workers = settings.workers, .rate_limit = settings.rate_limit};
    std::fprintf(stderr, "%s, %d worker(s), limit %d/s: ", engine.c_str(), settings.workers,
                 settings.rate_limit);
    const auto failed = [&m](const std::string& problem) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        m.problem = problem;
        return m;
    };
    if (!where.problem().empty())
        return failed(where.problem());
    auto opened = history::Store::open(where.location());
    if (!opened)
        return failed(opened.error().message);
    history::Store& store = opened.value();
    const std::vector<std::string> names = bench::due_names(kBoards, kMeasurementLimit);
    const std::vector<std::string> keywords =
        bench::catalogue_keywords(sim::Catalogue(sim::Options{}.seed), kKeywords);
    if (auto saved = bench::save_due_boards(store, names, keywords); !saved)
        return failed(saved.error().message);
    bench::WorkerFleet fleet(settings);
    const auto start = Clock::now();
    if (!fleet.start(where.location()))
        return failed("a simulator or a worker did not start");
    while (boards_with_a_run(store, names) < static_cast<int>(kBoards) &&
           Clock::now() - start < kMeasurementLimit && interrupted == 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    m.wall_s = std::chrono::duration<double>(Clock::now() - start).count();
    m.finished = boards_with_a_run(store, names) == static_cast<int>(kBoards);
    m.exit_codes = fleet.stop();
    count_runs(store, names, m);
    m.pages = fleet.listing_pages();
    m.limited = fleet.rate_limited();
    for (std::size_t i = 0; i < static_cast<std::size_t>(settings.workers); ++i)
        m.per_worker += (i == 0 ? "" : "+") + std::to_string(runs_started(fleet.said(i)));
    std::fprintf(stderr, "%.1f s%s\n", m.wall_s, m.finished ? "" : " (UNFINISHED)");
    if (!m.finished) {
        for (std::size_t i = 0; i < static_cast<std::size_t>(settings.workers); ++i)
            std::fprintf(stderr, "worker w%zu said:\n%s\n", i + 1, fleet.said(i).c_str());
    }
    return m;
}

double ms_per_check(const Measurement& m) {
    return m.checks > 0 ? m.wall_s * 1000 / static_cast<double>(m.checks) : 0;
}

void print_table(const std::vector<Measurement>& all) {
    std::printf("%-11s %7s %7s %7s %6s %4s %4s %7s %5s %4s %8s %9s %-10s %s\n", "history",
                "workers", "limit/s", "wall s", "checks", "runs", "done", "skipped", "pages",
                "429s", "ms/check", "speed-up", "per worker", "exit codes");
    const Measurement* one = nullptr;
    for (const Measurement& m : all) {
        if (!m.problem.empty()) {
            std::printf("%-11s %7d %7d  %s\n", m.engine.c_str(), m.workers, m.rate_limit,
                        m.problem.c_str());
            continue;
        }
        if (m.workers == 1 && one == nullptr)
            one = &m;
        std::string codes;
        for (const int code : m.exit_codes)
            codes += (codes.empty() ? "" : " ") + std::to_string(code);
        char speed_up[32] = "";
        if (one != nullptr && one->engine == m.engine && one->rate_limit == m.rate_limit &&
            m.wall_s > 0)
            std::snprintf(speed_up, sizeof speed_up, "%.2f (%d)", one->wall_s / m.wall_s,
                          m.workers);
        std::printf("%-11s %7d %7d %7.1f %6lld %4d %4d %7d %5d %4d %8.1f %9s %-10s %s%s\n",
                    m.engine.c_str(), m.workers, m.rate_limit, m.wall_s,
                    static_cast<long long>(m.checks), m.runs, m.done, m.skipped, m.pages, m.limited,
                    ms_per_check(m), speed_up, m.per_worker.c_str(), codes.c_str(),
                    m.finished ? "" : "  UNFINISHED");
    }
}

// One worker's time per recorded check on the server against the file, at each rate limit.
void print_engine_cost(const std::vector<Measurement>& all) {
    const auto one_worker = [&all](const std::string& engine, int limit) -> const Measurement* {
        for (const Measurement& m : all) {
            if (m.engine == engine && m.workers == 1 && m.rate_limit == limit && m.finished)
                return &m;
        }
        return nullptr;
    };
    for (const Measurement& m : all) {
        const Measurement* server =
            m.engine == "SQLite" ? one_worker("PostgreSQL", m.rate_limit) : nullptr;
        if (server == nullptr || !m.finished)
            continue;
        std::printf(
            "one worker, limit %d/s: %.1f ms a check on PostgreSQL, %.1f on SQLite (%+.1f)\n",
            m.rate_limit, ms_per_check(*server), ms_per_check(m),
            ms_per_check(*server) - ms_per_check(m));
    }
}

// bench_record_check on both engines, its lines as they are.
void print_record_check_cost(const std::string& url) {
    const auto run =
        test::run_process(BENCH_RECORD_CHECK_EXE, {kRecordChecks}, {{"KORVEL_TEST_PG_URL", url}});
    std::printf("\nrecord_check in process (bench_record_check %s):\n%s", kRecordChecks,
                run.out.c_str());
    if (run.exit_code != 0)
        std::printf("bench_record_check ended with %d: %s\n", run.exit_code, run.err.c_str());
}

std::string given_url(int argc, char** argv) {
    if (argc > 1)
        return argv[1];
    for (const char* name : {"KORVEL_BENCH_PG_URL", "KORVEL_TEST_PG_URL"}) {
        if (const char* url = std::getenv(name); url != nullptr && *url != '\0')
            return url;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, on_interrupt);
    std::signal(SIGTERM, on_interrupt);
    std::string url = given_url(argc, argv);
    std::optional<bench::ThrowAwayServer> own_server;
    if (url.empty()) {
        own_server.emplace();
        url = own_server->url();
        if (url.empty()) {
            std::fprintf(stderr, "no PostgreSQL server: give a URL or install one\n");
            return 1;
        }
    }
    const std::string schema = "korvel_bench_workers_" + std::to_string(getpid()) + "_";
    const test::TempDir files;
    const bench::FleetSettings limited{1, kRateLimit, kPoliteBoard};
    const bench::FleetSettings brisk{1, 0, test::kBriskBoard};
    // The three fleets on the server, then one worker on each engine at the
    // same rate limit and without one.
    struct Plan {
        const char* engine;
        int workers;
        const bench::FleetSettings& settings;
    };
    const Plan plans[] = {{"PostgreSQL", 1, limited}, {"PostgreSQL", 2, limited},
                          {"PostgreSQL", 4, limited}, {"SQLite", 1, limited},
                          {"PostgreSQL", 1, brisk},   {"SQLite", 1, brisk}};
    std::vector<Measurement> all;
    for (std::size_t i = 0; i < std::size(plans) && interrupted == 0; ++i) {
        const std::string engine = plans[i].engine;
        std::optional<bench::FreshHistory> where;
        if (engine == "SQLite")
            where.emplace(files.file("history" + std::to_string(i) + ".sqlite"));
        else
            where.emplace(url, schema + std::to_string(i));
        bench::FleetSettings settings = plans[i].settings;
        settings.workers = plans[i].workers;
        all.push_back(measure(engine, *where, settings));
    }
    if (interrupted != 0)
        return 1;

    print_table(all);
    std::printf(
        "speed-up: one worker's wall time over N workers' (the ideal, N, in brackets); "
        "limit 0: none; skipped: starts a worker recorded as skipped, the board being held "
        "by another\n\n");
    print_engine_cost(all);
    print_record_check_cost(url);
    const bool all_finished = std::all_of(all.begin(), all.end(), [](const Measurement& m) {
        return m.problem.empty() && m.finished;
    });
    return all_finished ? 0 : 1;
}
