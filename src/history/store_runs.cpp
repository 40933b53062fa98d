// What the scheduler keeps between runs: the pace per host and the runs of
// each board.
#include "history/sqlite_engine.h"

namespace history {

Status SqliteEngine::save_pace(const PaceRecord& pace) {
    auto statement = sql::prepare(db_,
                                  "INSERT INTO pace (host, pages_per_second, time_ms, "
                                  "pushed_back_at, pages_since_push_back) VALUES (?, ?, ?, ?, ?) "
                                  "ON CONFLICT (host) DO UPDATE SET "
                                  "pages_per_second = excluded.pages_per_second, "
                                  "time_ms = excluded.time_ms, "
                                  "pushed_back_at = excluded.pushed_back_at, "
                                  "pages_since_push_back = excluded.pages_since_push_back");
    if (!statement) {
        return statement.error();
    }
    return statement.value()
        .bind(1, pace.host)
        .bind(2, pace.pages_per_second)
        .bind(3, pace.time_ms)
        .bind(4, pace.pushed_back_at)
        .bind(5, pace.pages_since_push_back)
        .run();
}

Result<std::optional<PaceRecord>> SqliteEngine::load_pace(const std::string& host) const {
    auto statement = sql::prepare(db_,
                                  "SELECT pages_per_second, time_ms, pushed_back_at, "
                                  "pages_since_push_back FROM pace WHERE host = ?");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    auto row = select.bind(1, host).step();
    if (!row) {
        return row.error();
    }
    if (!row.value()) {
        return std::optional<PaceRecord>{};
    }
    return std::optional{
        PaceRecord{host, select.real(0), select.int64(1), select.real(2), select.int64(3)}};
}

Result<std::int64_t> SqliteEngine::add_run(const RunRecord& run) {
    auto statement = sql::prepare(db_,
                                  "INSERT INTO runs (board, started_ms, ended_ms, how_ended, "
                                  "checks, failed, not_checked) VALUES (?, ?, ?, ?, ?, ?, ?)");
    if (!statement) {
        return statement.error();
    }
    auto done = statement.value()
                    .bind(1, run.board)
                    .bind(2, run.started_ms)
                    .bind(3, run.ended_ms)
                    .bind(4, run.how_ended)
                    .bind(5, static_cast<std::int64_t>(run.checks))
                    .bind(6, static_cast<std::int64_t>(run.failed))
                    .bind(7, static_cast<std::int64_t>(run.not_checked))
                    .run();
    if (!done) {
        return done.error();
    }
    return sql::last_insert_id(db_);
}

Result<std::optional<RunRecord>> SqliteEngine::last_run(const std::string& board) const {
    auto statement = sql::prepare(db_,
                                  "SELECT id, started_ms, ended_ms, how_ended, checks, failed, "
                                  "not_checked FROM runs WHERE board = ? "
                                  "ORDER BY started_ms DESC, id DESC LIMIT 1");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    auto row = select.bind(1, board).step();
    if (!row) {
        return row.error();
    }
    if (!row.value()) {
        return std::optional<RunRecord>{};
    }
    return std::optional{RunRecord{select.int64(0), board, select.int64(1), select.int64(2),
                                   select.text(3), static_cast<int>(select.int64(4)),
                                   static_cast<int>(select.int64(5)),
                                   static_cast<int>(select.int64(6))}};
}

// A file's boards are held by lock files, which say nothing of who holds them.
Result<std::optional<BoardLease>> SqliteEngine::board_lease(const std::string&) const {
    return std::optional<BoardLease>{};
}

Result<std::vector<std::int64_t>> SqliteEngine::run_starts(const std::string& board,
                                                           std::int64_t since_ms) const {
    auto statement = sql::prepare(
        db_, "SELECT started_ms FROM runs WHERE board = ? AND started_ms >= ? ORDER BY started_ms");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    select.bind(1, board).bind(2, since_ms);
    std::vector<std::int64_t> starts;
    auto read = select.each_row([&](const sql::Statement& row) { starts.push_back(row.int64(0)); });
    if (!read) {
        return read.error();
    }
    return starts;
}

}  // namespace history
