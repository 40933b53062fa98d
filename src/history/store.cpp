// The SQLite engine: opening the file, counts, prune and best ranks.
#include "history/schema.h"
#include "history/sqlite_engine.h"
#include "history/summaries.h"

namespace history {

Result<std::unique_ptr<Engine>> SqliteEngine::open(const std::string& path) {
    auto db = sql::open_file(path);
    if (!db) {
        return db.error();
    }
    if (auto ready = prepare_schema(db.value(), path); !ready) {
        return ready.error();
    }
    return std::unique_ptr<Engine>(new SqliteEngine(std::move(db).value()));
}

Result<std::int64_t> SqliteEngine::count_checks(const std::optional<std::string>& board) const {
    auto statement =
        sql::prepare(db_, board ? "SELECT coalesce(sum(n), 0) FROM check_counts WHERE board = ?"
                                : "SELECT coalesce(sum(n), 0) FROM check_counts");
    if (!statement) {
        return statement.error();
    }
    if (board) {
        statement.value().bind(1, *board);
    }
    auto row = statement.value().step();
    if (!row) {
        return row.error();
    }
    return statement.value().int64(0);
}

namespace {

// With foreign keys on, every check deleted is looked up among the goods
// rows, which doubles a prune's cost; the prune deletes those rows first
// itself, so there is nothing left to enforce. The setting only takes
// effect outside a transaction: it is switched off before one begins and
// on again once it has ended, however it ended.
class ForeignKeysOff {
  public:
    explicit ForeignKeysOff(const sql::Connection& db) : db_(db) {
        (void)sql::exec(db_, "PRAGMA foreign_keys = OFF");
    }
    ~ForeignKeysOff() { (void)sql::exec(db_, "PRAGMA foreign_keys = ON"); }
    ForeignKeysOff(const ForeignKeysOff&) = delete;
    ForeignKeysOff& operator=(const ForeignKeysOff&) = delete;

  private:
    const sql::Connection& db_;
};

}  // namespace

Result<std::int64_t> SqliteEngine::prune_before(std::int64_t time_ms) {
    const ForeignKeysOff unchecked(db_);
    auto transaction = sql::Transaction::begin(db_);
    if (!transaction) {
        return transaction.error();
    }
    // Only a best rank reached before time_ms can go with the old checks.
    if (auto forgotten = forget_before(db_, time_ms); !forgotten) {
        return forgotten.error();
    }
    // The goods rows go first, by hand (see ForeignKeysOff).
    auto goods = sql::prepare(db_,
                              "DELETE FROM check_goods WHERE check_id IN "
                              "(SELECT id FROM checks WHERE time_ms < ?)");
    auto checks = sql::prepare(db_, "DELETE FROM checks WHERE time_ms < ?");
    if (!goods || !checks) {
        return goods ? checks.error() : goods.error();
    }
    if (auto done = goods.value().bind(1, time_ms).run(); !done) {
        return done.error();
    }
    if (auto done = checks.value().bind(1, time_ms).run(); !done) {
        return done.error();
    }
    const std::int64_t removed = sql::changes(db_);
    if (auto best = restore_best_from_days(db_, time_ms); !best) {
        return best.error();
    }
    if (auto committed = transaction.value().commit(); !committed) {
        return committed.error();
    }
    return removed;
}

Result<std::vector<CellBest>> SqliteEngine::best_ranks(const std::string& board) const {
    auto statement = sql::prepare(db_,
                                  "SELECT listing, listing_key, sort_order, goods_id, best_rank, "
                                  "best_time_ms FROM cell_best WHERE board = ? "
                                  "ORDER BY listing, listing_key, sort_order, goods_id");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, board);
    std::vector<CellBest> best;
    auto read = select.each_row([&](const sql::Statement& row) {
        best.push_back(CellBest{listing_from_text(row.text(0)).value_or(Listing::keyword),
                                row.text(1), sort_from_text(row.text(2)).value_or(Sort::none),
                                row.text(3), static_cast<int>(row.int64(4)), row.int64(5)});
    });
    if (!read) {
        return read.error();
    }
    return best;
}

Result<std::int64_t> SqliteEngine::data_version() const {
    return sql::single_int(db_, "PRAGMA data_version");
}

Result<bool> SqliteEngine::integrity_ok() const {
    auto statement = sql::prepare(db_, "PRAGMA integrity_check");
    if (!statement) {
        return statement.error();
    }
    auto row = statement.value().step();
    if (!row) {
        return row.error();
    }
    return row.value() && statement.value().text(0) == "ok";
}

}  // namespace history
