#include "history/summaries.h"

#include <string>
#include <string_view>

#include "history/day_summary.h"

namespace history {
namespace {

// A rank counts where its goods item was found: by its own status, or by its
// check's outcome on rows from before goods had one. Ties keep the earliest
// check, as the insert trigger does.
constexpr const char* insert_best =
    "INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank, "
    "best_time_ms) SELECT board, listing, listing_key, sort_order, goods_id, rank, time_ms "
    "FROM (SELECT c.board, c.listing, c.listing_key, c.sort_order, g.goods_id, g.rank, c.time_ms, "
    "row_number() OVER (PARTITION BY c.board, c.listing, c.listing_key, c.sort_order, "
    "g.goods_id ORDER BY g.rank, c.time_ms) AS place "
    "FROM checks c JOIN check_goods g ON g.check_id = c.id "
    "WHERE g.rank IS NOT NULL AND (g.status = 'found' OR "
    "(g.status IS NULL AND c.outcome = 'found'))) WHERE place = 1";

// The lowest place of each cell and goods item set aside, then the earliest
// day that reached it (a day's best keeps its earliest time).
constexpr const char* best_from_days = R"sql(
WITH lowest AS (
    SELECT d.board, d.listing, d.listing_key, d.sort_order, d.goods_id,
           min(d.best_place) AS place
    FROM temp.stale_best s
    JOIN cell_days d ON d.board = s.board AND d.listing = s.listing
                    AND d.listing_key = s.listing_key AND d.sort_order = s.sort_order
                    AND d.goods_id = s.goods_id
    WHERE d.best_place <= 1000
    GROUP BY d.board, d.listing, d.listing_key, d.sort_order, d.goods_id)
INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank, best_time_ms)
SELECT l.board, l.listing, l.listing_key, l.sort_order, l.goods_id, l.place, min(d.best_ms)
FROM lowest l
JOIN cell_days d ON d.board = l.board AND d.listing = l.listing
                AND d.listing_key = l.listing_key AND d.sort_order = l.sort_order
                AND d.goods_id = l.goods_id AND d.best_place = l.place
GROUP BY l.board, l.listing, l.listing_key, l.sort_order, l.goods_id, l.place
)sql";

Status run_with_time(const sql::Connection& db, const char* sql, std::int64_t time_ms) {
    auto statement = sql::prepare(db, sql);
    if (!statement) {
        return statement.error();
    }
    return statement.value().bind(1, time_ms).run();
}

}  // namespace

Status rebuild_counts(const sql::Connection& db) {
    return sql::exec(db,
                     "DELETE FROM check_counts; INSERT INTO check_counts (board, n) "
                     "SELECT board, count(*) FROM checks GROUP BY board");
}

Status rebuild_best(const sql::Connection& db) {
    if (auto cleared = sql::exec(db, "DELETE FROM cell_best"); !cleared) {
        return cleared;
    }
    return sql::exec(db, insert_best);
}

Status rebuild_summaries(const sql::Connection& db) {
    if (auto best = rebuild_best(db); !best) {
        return best;
    }
    if (auto counts = rebuild_counts(db); !counts) {
        return counts;
    }
    return rebuild_days(db);
}

Status forget_before(const sql::Connection& db, std::int64_t time_ms) {
    if (auto made = sql::exec(db,
                              "CREATE TEMP TABLE stale_best AS SELECT board, listing, "
                              "listing_key, sort_order, goods_id FROM cell_best WHERE 0");
        !made) {
        return made;
    }
    // Counted by checks_by_board, over the checks about to go only.
    const char* steps[] = {
        "INSERT INTO temp.stale_best SELECT board, listing, listing_key, sort_order, goods_id "
        "FROM cell_best WHERE best_time_ms < ?",
        "DELETE FROM cell_best WHERE best_time_ms < ?",
        "UPDATE check_counts SET n = n - (SELECT count(*) FROM checks c "
        "WHERE c.board = check_counts.board AND c.time_ms < ?)",
    };
    for (const char* step : steps) {
        if (auto done = run_with_time(db, step, time_ms); !done) {
            return done;
        }
    }
    return sql::exec(db, "DELETE FROM check_counts WHERE n <= 0");
}

Status restore_best_from_days(const sql::Connection& db, std::int64_t time_ms) {
    if (auto days = refresh_days_before(db, time_ms); !days) {
        return days;
    }
    if (auto restored = sql::exec(db, best_from_days); !restored) {
        return restored;
    }
    return sql::exec(db, "DROP TABLE temp.stale_best");
}

}  // namespace history
