// The PostgreSQL engine: connecting, counts, prune, best ranks, the change
// counter and the soundness check.
#include "history/pg_engine.h"
#include "history/pg_schema.h"
#include "history/pg_summaries.h"

namespace history {

Result<std::unique_ptr<Engine>> PgEngine::open(const Location& location) {
    auto db = pg::connect(location);
    if (!db) {
        return db.error();
    }
    if (auto ready = prepare_pg_schema(db.value()); !ready) {
        return ready.error();
    }
    return std::unique_ptr<Engine>(new PgEngine(std::move(db).value()));
}

Result<std::int64_t> PgEngine::count_checks(const std::optional<std::string>& board) const {
    auto rows = board
                    ? pg::run(db_, "SELECT coalesce(sum(n), 0) FROM check_counts WHERE board = $1",
                              pg::Params().add(*board))
                    : pg::run(db_, "SELECT coalesce(sum(n), 0) FROM check_counts");
    if (!rows) {
        return rows.error();
    }
    return rows.value().int64(0, 0);
}

// Writers of checks wait while the prune runs (the table lock), so the
// summaries it keeps right cannot miss a check added meanwhile.
Result<std::int64_t> PgEngine::prune_before(std::int64_t time_ms) {
    auto transaction = pg::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    if (auto locked = pg::exec(db_, "LOCK TABLE checks IN SHARE ROW EXCLUSIVE MODE"); !locked) {
        return locked.error();
    }
    const auto before = pg::Params().add(time_ms);
    // Only a best rank reached before time_ms can go with the old checks.
    for (const char* step :
         {"CREATE TEMP TABLE stale_best ON COMMIT DROP AS SELECT board, listing, listing_key, "
          "sort_order, goods_id FROM cell_best WHERE best_time_ms < $1",
          "DELETE FROM cell_best WHERE best_time_ms < $1"}) {
        if (auto done = pg::run(db_, step, before); !done) {
            return done.error();
        }
    }
    // The goods rows go with their checks (ON DELETE CASCADE); the counts
    // lose what went, board by board.
    auto removed = pg::run(db_,
                           "WITH gone AS (DELETE FROM checks WHERE time_ms < $1 RETURNING board), "
                           "per_board AS (SELECT board, count(*) AS n FROM gone GROUP BY board), "
                           "counted AS (UPDATE check_counts k SET n = k.n - p.n FROM per_board p "
                           "WHERE k.board = p.board) SELECT coalesce(sum(n), 0) FROM per_board",
                           before);
    if (!removed) {
        return removed.error();
    }
    if (auto emptied = pg::exec(db_, "DELETE FROM check_counts WHERE n <= 0"); !emptied) {
        return emptied.error();
    }
    if (auto days = pg_summaries::refresh_days_and_best(db_, time_ms); !days) {
        return days.error();
    }
    if (auto bumped = pg::exec(db_, bump_changes); !bumped) {
        return bumped.error();
    }
    if (auto committed = transaction.value().commit(); !committed) {
        return committed.error();
    }
    return removed.value().int64(0, 0);
}

Result<std::vector<CellBest>> PgEngine::best_ranks(const std::string& board) const {
    auto rows = pg::run(db_,
                        "SELECT listing, listing_key, sort_order, goods_id, best_rank, "
                        "best_time_ms FROM cell_best WHERE board = $1 "
                        "ORDER BY listing, listing_key, sort_order, goods_id",
                        pg::Params().add(board));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    std::vector<CellBest> best;
    for (int i = 0; i < r.size(); ++i) {
        best.push_back(CellBest{listing_from_text(r.text(i, 0)).value_or(Listing::keyword),
                                r.text(i, 1), sort_from_text(r.text(i, 2)).value_or(Sort::none),
                                r.text(i, 3), static_cast<int>(r.int64(i, 4)), r.int64(i, 5)});
    }
    return best;
}

Result<std::int64_t> PgEngine::data_version() const {
    auto rows = pg::run(db_, "SELECT n FROM korvel_changes");
    if (!rows) {
        return rows.error();
    }
    return rows.value().int64(0, 0);
}

// No page-level check to ask a server for; what can go wrong between the
// tables is what is kept beside the checks disagreeing with them.
Result<bool> PgEngine::integrity_ok() const {
    auto rows = pg::run(db_,
                        "SELECT NOT EXISTS (SELECT board, count(*) FROM checks GROUP BY board "
                        "EXCEPT SELECT board, n FROM check_counts WHERE n > 0) "
                        "AND NOT EXISTS (SELECT board, n FROM check_counts WHERE n > 0 "
                        "EXCEPT SELECT board, count(*) FROM checks GROUP BY board)");
    if (!rows) {
        return rows.error();
    }
    return rows.value().text(0, 0) == "t";
}

}  // namespace history
