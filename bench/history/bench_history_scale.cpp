// The reads a board window and korvel-check make (the rank chart's read of
// one cell among them), timed on a big history file (see make_year_history):
//
//   bench_history_scale FILE
//
// Prints one line per read: its time, what it returned, and the peak
// resident memory of the process after it (VmHWM), so a read that holds the
// whole history in memory shows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

#include "board/chart_history.h"
#include "history/store.h"

namespace {

constexpr const char* board_name = "年度看板";

long peak_rss_kib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

class Timer {
  public:
    double ms() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
            .count();
    }

  private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void report(const char* what, double ms, const std::string& result) {
    std::printf("%-44s %12.1f ms  %-40s %8ld MiB\n", what, ms, result.c_str(),
                peak_rss_kib() / 1024);
}

template <class T>
const T& or_die(const history::Result<T>& result) {
    if (!result) {
        std::fprintf(stderr, "%s\n", result.error().message.c_str());
        std::exit(1);
    }
    return result.value();
}

void or_die(const history::Status& status) {
    if (!status) {
        std::fprintf(stderr, "%s\n", status.error().message.c_str());
        std::exit(1);
    }
}

using Cell = std::tuple<history::Listing, std::string, history::Sort>;

history::CheckFilter cell_filter(const Cell& cell) {
    return {.board = board_name,
            .listing = std::get<0>(cell),
            .key = std::get<1>(cell),
            .sort = std::get<2>(cell)};
}

std::set<Cell> measure_best(const history::Store& store) {
    Timer timer;
    const auto best = or_die(store.best_ranks(board_name));
    const double ms = timer.ms();
    std::set<Cell> cells;
    for (const auto& b : best) {
        cells.emplace(b.listing, b.key, b.sort);
    }
    report("best_ranks(board)", ms,
           std::to_string(best.size()) + " rows, " + std::to_string(cells.size()) + " cells");
    return cells;
}

void measure_newest_three(const history::Store& store, const std::set<Cell>& cells) {
    Timer timer;
    double slowest = 0;
    std::size_t read = 0;
    for (const auto& cell : cells) {
        Timer one;
        auto filter = cell_filter(cell);
        filter.newest_first = true;
        filter.limit = 3;
        or_die(store.for_each_check(filter, [&](const history::Check&) {
            ++read;
            return true;
        }));
        slowest = std::max(slowest, one.ms());
    }
    char slowest_text[64];
    std::snprintf(slowest_text, sizeof slowest_text, "; slowest cell %.2f ms", slowest);
    report("newest 3 checks of every cell", timer.ms(),
           std::to_string(read) + " checks" + slowest_text);
}

void measure_counts_and_notices(const history::Store& store) {
    Timer count_timer;
    const auto board_count = or_die(store.count_checks(board_name));
    const auto all_count = or_die(store.count_checks());
    report("count_checks(board) + count_checks()", count_timer.ms(),
           std::to_string(board_count) + " / " + std::to_string(all_count));
    Timer notice_timer;
    const auto notices = or_die(store.notices(board_name, {}, 50));
    report("notices(board, newest 50)", notice_timer.ms(), std::to_string(notices.size()));
}

// A cell's checks lie one in every 500 of the file, so the first read costs
// the disk's seeks; the second shows the same read from the page cache.
void measure_one_cell(const history::Store& store, const Cell& cell) {
    for (const char* what :
         {"checks(one cell, all time), first", "checks(one cell, all time), again"}) {
        Timer timer;
        const auto checks = or_die(store.checks(cell_filter(cell)));
        report(what, timer.ms(), std::to_string(checks.size()) + " checks");
    }
}

// What the rank chart of one cell reads over 全部 as the board's last check
// has just been made: every check of the last 30 days, the days before from
// the per-day summary (first from disk, then from the page cache).
void measure_cell_chart(const history::Store& store, const Cell& cell) {
    auto newest = cell_filter(cell);
    newest.newest_first = true;
    newest.limit = 1;
    const auto last = or_die(store.checks(newest));
    const std::int64_t now_ms = last.empty() ? 0 : last.front().time_ms + 60'000;
    for (const char* what :
         {"cell_chart(one cell, 全部), first", "cell_chart(one cell, 全部), again"}) {
        Timer timer;
        const auto series = board::cell_chart(
            store, board_name, {std::get<0>(cell), std::get<1>(cell), std::get<2>(cell)}, now_ms);
        std::size_t points = 0;
        for (const auto& s : series) {
            points += s.points.size();
        }
        report(what, timer.ms(),
               std::to_string(series.size()) + " series, " + std::to_string(points) + " points");
    }
}

void measure_stream(const history::Store& store) {
    Timer timer;
    std::size_t checks = 0;
    std::size_t goods = 0;
    or_die(store.for_each_check({}, [&](const history::Check& check) {
        ++checks;
        goods += check.goods.size();
        return true;
    }));
    const double ms = timer.ms();
    char rate[96];
    std::snprintf(rate, sizeof rate, "%zu checks, %.0f k checks/s, %.0f k rows/s", checks,
                  checks / ms, goods / ms);
    report("for_each_check(everything)", ms, rate);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_history_scale FILE\n");
        return 64;
    }
    std::printf("%s: %.2f GB\n", argv[1],
                static_cast<double>(std::filesystem::file_size(argv[1])) / 1e9);
    std::printf("%-44s %15s  %-40s %12s\n", "read", "time", "result", "peak RSS");
    Timer open_timer;
    auto opened = history::Store::open(argv[1]);
    const auto& store = or_die(opened);
    report("Store::open", open_timer.ms(), store.path());
    const auto cells = measure_best(store);
    measure_newest_three(store, cells);
    measure_counts_and_notices(store);
    if (!cells.empty()) {
        measure_cell_chart(store, *cells.begin());
        measure_one_cell(store, *cells.rbegin());
    }
    measure_stream(store);
    return 0;
}
