// The cost of recording a board's checks (Store::record_check, one
// transaction each, as a run does) on a SQLite file and on a PostgreSQL
// server, and of reading them back:
//
//   bench_record_check [CHECKS] [URL]
//
// CHECKS (10000) checks of six goods rows each (the own goods and five
// competitors), every tenth with a notice, as 10 keywords x 5 sorts of a
// board. The server is URL, else KORVEL_TEST_PG_URL; the checks go into a
// schema of their own, dropped afterwards. Without either only SQLite runs.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "history/pg_owner.h"
#include "history/store.h"

namespace {

using Clock = std::chrono::steady_clock;

history::Check board_check(int i) {
    static const history::Sort sorts[] = {history::Sort::default_order, history::Sort::sales,
                                          history::Sort::credit, history::Sort::price_asc,
                                          history::Sort::price_desc};
    history::Check check;
    check.board = "基准看板";
    check.key = "关键词" + std::to_string(i / 5 % 10);
    check.sort = sorts[i % 5];
    check.time_ms = 1'700'000'000'000 + static_cast<std::int64_t>(i) * 1000;
    check.pages_read = 2;
    check.http_statuses = {200, 200};
    check.outcome = history::Outcome::found;
    check.goods.push_back({"1001", history::Role::own, i % 1000 + 1, history::Outcome::found});
    for (int c = 0; c < 5; ++c) {
        const bool found = (i + c) % 3 != 0;
        check.goods.push_back(
            {std::to_string(2001 + c), history::Role::competitor,
             found ? std::optional<int>((i * 7 + c * 13) % 1000 + 1) : std::nullopt,
             found ? history::Outcome::found : history::Outcome::not_in_top_1000});
    }
    return check;
}

bool measure(const char* engine, const history::Location& location, int checks) {
    auto store = history::Store::open(location);
    if (!store) {
        std::fprintf(stderr, "%s\n", store.error().message.c_str());
        return false;
    }
    const auto start = Clock::now();
    for (int i = 0; i < checks; ++i) {
        std::vector<history::Notice> notices;
        if (i % 10 == 0) {
            notices.push_back({.board = "基准看板", .time_ms = 1, .message = "排名上升"});
        }
        if (auto kept = store.value().record_check(board_check(i), notices); !kept) {
            std::fprintf(stderr, "%s\n", kept.error().message.c_str());
            return false;
        }
    }
    const double written_s = std::chrono::duration<double>(Clock::now() - start).count();
    const auto read_start = Clock::now();
    std::size_t rows = 0;
    (void)store.value().for_each_check({.board = "基准看板"}, [&](const history::Check& c) {
        rows += c.goods.size();
        return true;
    });
    const double read_s = std::chrono::duration<double>(Clock::now() - read_start).count();
    std::printf(
        "%-11s %6d checks recorded in %7.2f s: %7.1f us a check; read back (%zu goods "
        "rows) in %.2f s\n",
        engine, checks, written_s, written_s * 1e6 / checks, rows, read_s);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const int checks = argc > 1 ? std::atoi(argv[1]) : 10000;
    const char* env_url = std::getenv("KORVEL_TEST_PG_URL");
    const std::string url = argc > 2 ? argv[2] : env_url != nullptr ? env_url : "";

    const auto dir =
        std::filesystem::temp_directory_path() / ("korvel-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    bool ok = measure("SQLite", dir / "history.sqlite", checks);
    std::filesystem::remove_all(dir);

    if (!url.empty()) {
        auto admin = history::pg::connect(history::Location(url));
        if (!admin) {
            std::fprintf(stderr, "%s\n", admin.error().message.c_str());
            return 1;
        }
        const std::string schema = "korvel_bench_" + std::to_string(getpid());
        (void)history::pg::exec(admin.value(), ("CREATE SCHEMA " + schema).c_str());
        const std::string location = url + (url.find('?') == std::string::npos ? "?" : "&") +
                                     "options=-csearch_path%3D" + schema;
        ok = measure("PostgreSQL", history::Location(location), checks) && ok;
        (void)history::pg::exec(admin.value(), ("DROP SCHEMA " + schema + " CASCADE").c_str());
    }
    return ok ? 0 : 1;
}
