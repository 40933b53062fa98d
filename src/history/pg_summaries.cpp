#include "history/pg_summaries.h"

#include <string>
#include <string_view>

namespace history::pg_summaries {
namespace {

// A rank counts where its goods item was found: by its own status, or by its
// check's outcome on rows from before goods had one. Ties keep the earliest
// check, as record_check does.
std::string insert_best() {
    std::string sql =
        "INSERT INTO cell_best (board, listing, listing_key, sort_order, goods_id, best_rank, "
        "best_time_ms) SELECT board, listing, listing_key, sort_order, goods_id, rank, time_ms "
        "FROM (SELECT c.board, c.listing, c.listing_key, c.sort_order, g.goods_id, g.rank, "
        "c.time_ms, row_number() OVER (PARTITION BY c.board, c.listing, c.listing_key, "
        "c.sort_order, g.goods_id ORDER BY g.rank, c.time_ms) AS place "
        "FROM checks c JOIN check_goods g ON g.check_id = c.id";
    sql +=
        " WHERE g.rank IS NOT NULL AND (g.status = 'found' OR "
        "(g.status IS NULL AND c.outcome = 'found'))) ranked WHERE place = 1";
    return sql;
}

}  // namespace

Status rebuild_counts(const pg::Connection& db) {
    return pg::exec(db,
                    "DELETE FROM check_counts; INSERT INTO check_counts (board, n) "
                    "SELECT board, count(*) FROM checks GROUP BY board");
}

Status rebuild(const pg::Connection& db) {
    if (auto cleared = pg::exec(db, "DELETE FROM cell_best"); !cleared) {
        return cleared;
    }
    if (auto best = pg::exec(db, insert_best().c_str()); !best) {
        return best;
    }
    if (auto counted = rebuild_counts(db); !counted) {
        return counted;
    }
    return rebuild_days(db);
}

}  // namespace history::pg_summaries
