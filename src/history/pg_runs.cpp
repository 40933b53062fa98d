// What the scheduler keeps between runs, on a server: the pace per host and
// the runs of each board.
#include "history/pg_engine.h"

namespace history {

Status PgEngine::save_pace(const PaceRecord& pace) {
    auto saved = pg::run(db_,
                         "WITH saved AS (INSERT INTO pace (host, pages_per_second, time_ms, "
                         "pushed_back_at, pages_since_push_back) VALUES ($1, $2, $3, $4, $5) "
                         "ON CONFLICT (host) DO UPDATE SET "
                         "pages_per_second = excluded.pages_per_second, "
                         "time_ms = excluded.time_ms, pushed_back_at = excluded.pushed_back_at, "
                         "pages_since_push_back = excluded.pages_since_push_back), "
                         "bump AS (UPDATE korvel_changes SET n = n + 1) SELECT 1",
                         pg::Params()
                             .add(pace.host)
                             .add(pace.pages_per_second)
                             .add(pace.time_ms)
                             .add(pace.pushed_back_at)
                             .add(pace.pages_since_push_back));
    if (!saved) {
        return saved.error();
    }
    return {};
}

Result<std::optional<PaceRecord>> PgEngine::load_pace(const std::string& host) const {
    auto rows = pg::run(db_,
                        "SELECT pages_per_second, time_ms, pushed_back_at, pages_since_push_back "
                        "FROM pace WHERE host = $1",
                        pg::Params().add(host));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    if (r.size() == 0) {
        return std::optional<PaceRecord>{};
    }
    return std::optional{
        PaceRecord{host, r.real(0, 0), r.int64(0, 1), r.real(0, 2), r.int64(0, 3)}};
}

Result<std::int64_t> PgEngine::add_run(const RunRecord& run) {
    auto added = pg::run(db_,
                         "WITH added AS (INSERT INTO runs (board, started_ms, ended_ms, "
                         "how_ended, checks, failed, not_checked) VALUES ($1, $2, $3, $4, $5, "
                         "$6, $7) RETURNING id), bump AS (UPDATE korvel_changes SET n = n + 1) "
                         "SELECT id FROM added",
                         pg::Params()
                             .add(run.board)
                             .add(run.started_ms)
                             .add(run.ended_ms)
                             .add(run.how_ended)
                             .add(run.checks)
                             .add(run.failed)
                             .add(run.not_checked));
    if (!added) {
        return added.error();
    }
    return added.value().int64(0, 0);
}

Result<std::optional<RunRecord>> PgEngine::last_run(const std::string& board) const {
    auto rows = pg::run(db_,
                        "SELECT id, started_ms, ended_ms, how_ended, checks, failed, not_checked "
                        "FROM runs WHERE board = $1 ORDER BY started_ms DESC, id DESC LIMIT 1",
                        pg::Params().add(board));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    if (r.size() == 0) {
        return std::optional<RunRecord>{};
    }
    return std::optional{RunRecord{r.int64(0, 0), board, r.int64(0, 1), r.int64(0, 2), r.text(0, 3),
                                   static_cast<int>(r.int64(0, 4)), static_cast<int>(r.int64(0, 5)),
                                   static_cast<int>(r.int64(0, 6))}};
}

Result<std::optional<BoardLease>> PgEngine::board_lease(const std::string& board) const {
    auto rows = pg::run(db_,
                        "SELECT holder, started_ms, renewed_ms, expires_ms, "
                        "expires_ms > (extract(epoch FROM clock_timestamp()) * 1000)::bigint "
                        "FROM board_leases WHERE board = $1",
                        pg::Params().add(board));
    if (!rows) {
        return rows.error();
    }
    const pg::Rows& r = rows.value();
    if (r.size() == 0) {
        return std::optional<BoardLease>{};
    }
    return std::optional{
        BoardLease{r.text(0, 0), r.int64(0, 1), r.int64(0, 2), r.int64(0, 3), r.text(0, 4) == "t"}};
}

Result<std::vector<std::int64_t>> PgEngine::run_starts(const std::string& board,
                                                       std::int64_t since_ms) const {
    auto rows = pg::run(db_,
                        "SELECT started_ms FROM runs WHERE board = $1 AND started_ms >= $2 "
                        "ORDER BY started_ms",
                        pg::Params().add(board).add(since_ms));
    if (!rows) {
        return rows.error();
    }
    std::vector<std::int64_t> starts;
    for (int i = 0; i < rows.value().size(); ++i) {
        starts.push_back(rows.value().int64(i, 0));
    }
    return starts;
}

}  // namespace history
