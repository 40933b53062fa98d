#include "history/day_summary.h"

#include <string>
#include <string_view>

#include "history/day_fold.h"
#include "history/records.h"

namespace history {
namespace {

// Version 4: one row per cell, goods item and UTC day. Rows are only ever
// deleted by prune, which sums up again the day it cuts through.
constexpr const char* create_table = R"sql(
CREATE TABLE cell_days (
    board       TEXT    NOT NULL,
    listing     TEXT    NOT NULL,
    listing_key TEXT    NOT NULL,
    sort_order  TEXT    NOT NULL,
    goods_id    TEXT    NOT NULL,
    day         INTEGER NOT NULL,
    role        TEXT    NOT NULL,
    best_place  INTEGER NOT NULL,
    best_ms     INTEGER NOT NULL,
    worst_place INTEGER NULL,
    worst_ms    INTEGER NULL,
    last_place  INTEGER NOT NULL,
    last_ms     INTEGER NOT NULL,
    last_reason TEXT    NOT NULL,
    PRIMARY KEY (board, listing, listing_key, sort_order, goods_id, day)
) WITHOUT ROWID;
CREATE INDEX cell_days_by_day ON cell_days (day, board);
)sql";

// A goods row's place (records.h): its own status when it has one, else
// the one its check's outcome gives (status_of).
std::string place_of(std::string_view goods) {
    const std::string g(goods);
    return "CASE coalesce(" + g + ".status, CASE WHEN c.outcome IN ('failed', 'not_checked') " +
           "THEN c.outcome WHEN " + g + ".rank IS NOT NULL THEN 'found' " +
           "ELSE 'not_in_top_1000' END) WHEN 'found' THEN coalesce(" + g +
           ".rank, 1002) WHEN 'not_in_top_1000' THEN 1001 ELSE 1002 END";
}

// The points of goods rows `goods` of checks `c`, as the upsert reads them.
std::string points_of(std::string_view goods) {
    const std::string g(goods);
    return "SELECT c.board AS board, c.listing AS listing, c.listing_key AS listing_key, "
           "c.sort_order AS sort_order, " +
           g + ".goods_id AS goods_id, " + g + ".role AS role, c.time_ms AS time_ms, " +
           place_of(goods) + " AS place, " + g +
           ".reason AS goods_reason, c.reason AS check_reason";
}

// Folds points into their days: a better point (a lower place, or as good
// and earlier) replaces the best, a worse one read the worst, a later one
// the last. Plain SQL, so another engine can keep the same table.
std::string upsert_days(const std::string& points) {
    constexpr std::string_view better =
        "(excluded.best_place < cell_days.best_place OR (excluded.best_place = "
        "cell_days.best_place AND excluded.best_ms < cell_days.best_ms))";
    constexpr std::string_view worse =
        "(excluded.worst_place IS NOT NULL AND (cell_days.worst_place IS NULL OR "
        "excluded.worst_place > cell_days.worst_place OR (excluded.worst_place = "
        "cell_days.worst_place AND excluded.worst_ms < cell_days.worst_ms)))";
    constexpr std::string_view later = "(excluded.last_ms >= cell_days.last_ms)";
    const auto pick = [](std::string_view when, const char* column) {
        return std::string(column) + " = CASE WHEN " + std::string(when) + " THEN excluded." +
               column + " ELSE cell_days." + column + " END";
    };
    return "INSERT INTO cell_days (board, listing, listing_key, sort_order, goods_id, day, role, "
           "best_place, best_ms, worst_place, worst_ms, last_place, last_ms, last_reason) "
           "SELECT board, listing, listing_key, sort_order, goods_id, time_ms / " +
           std::to_string(kDayMs) +
           ", role, "
           "place, time_ms, CASE WHEN place <= 1001 THEN place END, "
           "CASE WHEN place <= 1001 THEN time_ms END, place, time_ms, "
           "CASE WHEN place = 1002 THEN CASE WHEN goods_reason <> '' THEN goods_reason "
           "ELSE check_reason END ELSE '' END FROM (" +
           points +
           ") p WHERE true "
           "ON CONFLICT (board, listing, listing_key, sort_order, goods_id, day) DO UPDATE SET " +
           pick(better, "best_place") + ", " + pick(better, "best_ms") + ", " +
           pick(worse, "worst_place") + ", " + pick(worse, "worst_ms") + ", " +
           pick(later, "role") + ", " + pick(later, "last_place") + ", " +
           pick(later, "last_reason") + ", " + pick(later, "last_ms");
}

std::string trigger() {
    return "CREATE TRIGGER check_goods_days AFTER INSERT ON check_goods BEGIN " +
           upsert_days(points_of("NEW") + " FROM checks c WHERE c.id = NEW.check_id") + "; END";
}

}  // namespace

Status create_day_summary(const sql::Connection& db) {
    if (auto made = sql::exec(db, create_table); !made) {
        return made;
    }
    if (auto kept = sql::exec(db, trigger().c_str()); !kept) {
        return kept;
    }
    return rebuild_days(db);
}

Status rebuild_days(const sql::Connection& db) {
    if (auto cleared = sql::exec(db, "DELETE FROM cell_days"); !cleared) {
        return cleared;
    }
    return fold_all_days(db);
}

// Only the rows of the day the cut falls in whose best, worst or last point
// went with the checks are wrong; they are summed up again from what is left
// of their cells' day, at most a day of checks. A cut at midnight touches none.
Status refresh_days_before(const sql::Connection& db, std::int64_t time_ms) {
    const std::int64_t day = time_ms / kDayMs;
    auto stale = sql::prepare(db,
                              "CREATE TEMP TABLE stale_cells AS SELECT DISTINCT board, listing, "
                              "listing_key, sort_order FROM cell_days WHERE day = ? AND "
                              "(best_ms < ? OR worst_ms < ? OR last_ms < ?)");
    if (!stale) {
        return stale.error();
    }
    if (auto made =
            stale.value().bind(1, day).bind(2, time_ms).bind(3, time_ms).bind(4, time_ms).run();
        !made) {
        return made;
    }
    // Prepared once the table they read exists.
    auto gone = sql::prepare(db, "DELETE FROM cell_days WHERE day < ?");
    auto cut = sql::prepare(db,
                            "DELETE FROM cell_days WHERE day = ? AND (board, listing, listing_key, "
                            "sort_order) IN (SELECT board, listing, listing_key, sort_order FROM "
                            "temp.stale_cells)");
    if (!gone || !cut) {
        return gone ? cut.error() : gone.error();
    }
    for (sql::Statement* step : {&gone.value(), &cut.value()}) {
        if (auto done = step->bind(1, day).run(); !done) {
            return done;
        }
    }
    if (auto again = fold_stale_cells(db, time_ms, (day + 1) * kDayMs); !again) {
        return again;
    }
    return sql::exec(db, "DROP TABLE temp.stale_cells");
}

}  // namespace history
