// What keeps a big history in shape, timed on a copy of a file from
// make_year_history:
//
//   bench_history_upkeep FILE [--verify] [--days N]...
//
// For each cut (the oldest day, a day and a half, and 30 days by default): the
// history's prune of every check before it, against the sqlite3 program
// deleting the same rows on another copy (goods rows, then checks, in one
// transaction; the goal is a prune within 3 x that). --verify then rebuilds
// the kept summaries (best ranks, counts, days) from the checks that are
// left and says whether they match what the prune left. Last, the migration
// of the file as version 3 left it (without the per-day summary) to the
// current version. Needs the sqlite3 program (Debian package sqlite3) and
// room for two more copies of FILE beside it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "history/records.h"
#include "history/sqlite_owner.h"
#include "history/store.h"
#include "history/summaries.h"

namespace {

namespace fs = std::filesystem;
namespace sql = history::sql;

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool ok(const history::Status& status) {
    if (!status) {
        std::fprintf(stderr, "%s\n", status.error().message.c_str());
    }
    return status.ok();
}

std::int64_t single(const sql::Connection& db, const std::string& query) {
    const auto value = sql::single_int(db, query.c_str());
    return value ? value.value() : -1;
}

void remove_copy(const fs::path& copy) {
    fs::remove(copy);
    fs::remove(fs::path(copy) += "-wal");
    fs::remove(fs::path(copy) += "-shm");
}

fs::path fresh_copy(const fs::path& file, const char* suffix) {
    fs::path copy = file;
    copy += suffix;
    remove_copy(copy);
    fs::copy_file(file, copy);
    return copy;
}

// A cut `days` days (a fraction cuts mid-day) after the first check's day began.
std::int64_t cut_after(const fs::path& file, double days) {
    auto db = sql::open_file(file.string());
    const std::int64_t first = db ? single(db.value(), "SELECT min(time_ms) FROM checks") : 0;
    return first / history::kDayMs * history::kDayMs +
           static_cast<std::int64_t>(days * static_cast<double>(history::kDayMs));
}

double sqlite3_delete(const fs::path& file, std::int64_t cut, std::string& removed) {
    const std::string t = std::to_string(cut);
    const std::string command =
        "sqlite3 '" + file.string() +
        "' 'BEGIN; DELETE FROM check_goods WHERE check_id IN (SELECT id FROM checks WHERE time_ms "
        "< " +
        t + "); DELETE FROM checks WHERE time_ms < " + t + "; SELECT changes(); COMMIT;'";
    const auto start = std::chrono::steady_clock::now();
    FILE* out = ::popen(command.c_str(), "r");
    char line[64] = {};
    if (out == nullptr || std::fgets(line, sizeof line, out) == nullptr) {
        removed = "?";
    } else {
        removed = std::string(line, std::strcspn(line, "\n"));
    }
    const int status = out ? ::pclose(out) : -1;
    const double seconds = seconds_since(start);
    return status == 0 ? seconds : -1;
}

// Rows of `table` that differ from `kept` either way.
std::int64_t differing(const sql::Connection& db, const std::string& table) {
    return single(db, "SELECT (SELECT count(*) FROM (SELECT * FROM " + table +
                          " EXCEPT SELECT * FROM temp.kept_" + table +
                          ")) + (SELECT count(*) FROM (SELECT * FROM temp.kept_" + table +
                          " EXCEPT SELECT * FROM " + table + "))");
}

// Rebuilds the summaries inside a transaction that is rolled back, and
// compares them with what the prune left.
void verify(const fs::path& file) {
    auto db = sql::open_file(file.string());
    if (!db || !ok(sql::exec(db.value(), "BEGIN"))) {
        return;
    }
    const char* tables[] = {"cell_best", "check_counts", "cell_days"};
    for (const char* table : tables) {
        const std::string copy =
            std::string("CREATE TEMP TABLE kept_") + table + " AS SELECT * FROM " + table;
        ok(sql::exec(db.value(), copy.c_str()));
    }
    const auto start = std::chrono::steady_clock::now();
    if (!ok(history::rebuild_summaries(db.value()))) {
        return;
    }
    const double rebuilt = seconds_since(start);
    for (const char* table : tables) {
        std::printf("  %-12s rows differing from a rebuild: %lld\n", table,
                    static_cast<long long>(differing(db.value(), table)));
    }
    std::printf("  (rebuilding all three from the checks took %.1f s)\n", rebuilt);
    ok(sql::exec(db.value(), "ROLLBACK"));
}

void prune_both(const fs::path& file, double days, bool check) {
    const std::int64_t cut = cut_after(file, days);
    const fs::path ours = fresh_copy(file, ".prune");
    double prune_s = 0;
    std::int64_t removed = -1;
    {
        auto store = history::Store::open(ours);
        if (!store) {
            std::fprintf(stderr, "%s\n", store.error().message.c_str());
            return;
        }
        const auto start = std::chrono::steady_clock::now();
        const auto pruned = store.value().prune_before(cut);
        prune_s = seconds_since(start);
        removed = pruned ? pruned.value() : -1;
    }
    const fs::path theirs = fresh_copy(file, ".sqlite3");
    std::string their_removed;
    const double sqlite3_s = sqlite3_delete(theirs, cut, their_removed);
    std::printf(
        "oldest %g day(s): prune %.3f s (%lld checks), sqlite3 DELETE %.3f s (%s checks), "
        "ratio %.2f\n",
        days, prune_s, static_cast<long long>(removed), sqlite3_s, their_removed.c_str(),
        sqlite3_s > 0 ? prune_s / sqlite3_s : 0.0);
    if (check) {
        verify(ours);
    }
    remove_copy(theirs);
    remove_copy(ours);
}

// The file as version 3 left it: no per-day summary, the pace and the
// deliveries without the columns version 4 added.
void migration(const fs::path& file) {
    const fs::path old = fresh_copy(file, ".v3");
    {
        auto db = sql::open_file(old.string());
        if (!db || !ok(sql::exec(db.value(),
                                 "DROP TRIGGER check_goods_days; DROP TABLE cell_days; "
                                 "ALTER TABLE pace DROP COLUMN pushed_back_at; "
                                 "ALTER TABLE pace DROP COLUMN pages_since_push_back; "
                                 "ALTER TABLE deliveries DROP COLUMN claim; "
                                 "ALTER TABLE deliveries DROP COLUMN claimed_ms; "
                                 "ALTER TABLE deliveries DROP COLUMN sends; "
                                 "PRAGMA user_version = 3"))) {
            return;
        }
    }
    {
        const auto start = std::chrono::steady_clock::now();
        const auto store = history::Store::open(old);
        std::printf("migration from version 3: %.1f s%s\n", seconds_since(start),
                    store ? "" : " (FAILED)");
    }
    remove_copy(old);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_history_upkeep FILE [--verify] [--days N]...\n");
        return 64;
    }
    const fs::path file = argv[1];
    bool check = false;
    std::vector<double> cuts;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--verify") {
            check = true;
        } else if (arg == "--days" && i + 1 < argc) {
            cuts.push_back(std::atof(argv[++i]));
        }
    }
    if (cuts.empty()) {
        cuts = {1, 1.5, 30};
    }
    auto db = sql::open_file(file.string());
    if (!db) {
        return 1;
    }
    std::printf("%lld checks in %s (%.0f MB)\n",
                static_cast<long long>(single(db.value(), "SELECT count(*) FROM checks")),
                file.c_str(), static_cast<double>(fs::file_size(file)) / 1e6);
    for (const double days : cuts) {
        prune_both(file, days, check);
    }
    migration(file);
    return 0;
}
