#include "history/summaries.h"

#include <string>
#include <string_view>

namespace history {
namespace {

// A rank counts where its goods item was found: by its own status, or by its
// check's outcome on rows from before goods had one. Ties keep the earliest
// check, as the insert trigger does.
constexpr std::string_view ranked_rows =
    "SELECT c.board, c.listing, c.listing_key, c.sort_order, g.goods_id, g.rank, c.time_ms, "
    "row_number() OVER (PARTITION BY c.board, c.listing, c.listing_key, c.sort_order, "
    "g.goods_id ORDER BY g.rank, c.time_ms) AS place "
    "FROM checks c JOIN check_goods g ON g.check_id = c.id";
constexpr std::string_view found_ranks =
    " WHERE g.rank IS NOT NULL AND (g.status = 'found' OR "
    "(g.status IS NULL AND c.outcome = 'found'))";

std::string insert_best(std::string_view only) {
    std::string sql =
        "INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank, "
        "best_time_ms) SELECT board, listing, listing_key, sort_order, goods_id, rank, time_ms "
        "FROM (";
    sql += ranked_rows;
    sql += only;
    sql += found_ranks;
    sql += ") WHERE place = 1";
    return sql;
}

}  // namespace

Status rebuild_counts(const sql::Connection& db) {
    return sql::exec(db,
                     "DELETE FROM check_counts; INSERT INTO check_counts (board, n) "
                     "SELECT board, count(*) FROM checks GROUP BY board");
}

Status rebuild_summaries(const sql::Connection& db) {
    if (auto cleared = sql::exec(db, "DELETE FROM cell_best"); !cleared) {
        return cleared;
    }
    if (auto best = sql::exec(db, insert_best("").c_str()); !best) {
        return best;
    }
    return rebuild_counts(db);
}

Status forget_best_before(const sql::Connection& db, std::int64_t time_ms) {
    if (auto made = sql::exec(db,
                              "CREATE TEMP TABLE stale_best AS SELECT board, listing, "
                              "listing_key, sort_order, goods_id FROM cell_best WHERE 0");
        !made) {
        return made;
    }
    auto keep = sql::prepare(db,
                             "INSERT INTO temp.stale_best SELECT board, listing, listing_key, "
                             "sort_order, goods_id FROM cell_best WHERE best_time_ms < ?");
    auto drop = sql::prepare(db, "DELETE FROM cell_best WHERE best_time_ms < ?");
    if (!keep || !drop) {
        return keep ? drop.error() : keep.error();
    }
    if (auto kept = keep.value().bind(1, time_ms).run(); !kept) {
        return kept;
    }
    return drop.value().bind(1, time_ms).run();
}

Status restore_best(const sql::Connection& db) {
    const std::string sql = insert_best(
        " JOIN temp.stale_best s ON s.board = c.board AND s.listing = c.listing AND "
        "s.listing_key = c.listing_key AND s.sort_order = c.sort_order AND "
        "s.goods_id = g.goods_id");
    if (auto restored = sql::exec(db, sql.c_str()); !restored) {
        return restored;
    }
    return sql::exec(db, "DROP TABLE temp.stale_best");
}

}  // namespace history
