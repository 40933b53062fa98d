// Saved boards on a server: a unique name and a definition kept byte for byte.
#include "history/pg_engine.h"

namespace history {

Result<std::vector<std::string>> PgEngine::board_names() const {
    auto rows = pg::run(db_, "SELECT name FROM boards ORDER BY name");
    if (!rows) {
        return rows.error();
    }
    std::vector<std::string> names;
    for (int i = 0; i < rows.value().size(); ++i) {
        names.push_back(rows.value().text(i, 0));
    }
    return names;
}

Result<Board> PgEngine::load_board(const std::string& name) const {
    auto rows =
        pg::run(db_, "SELECT definition, created_ms, updated_ms FROM boards WHERE name = $1",
                pg::Params().add(name));
    if (!rows) {
        return rows.error();
    }
    if (rows.value().size() == 0) {
        return Error{ErrorCode::not_found, "there is no board named " + name};
    }
    const pg::Rows& r = rows.value();
    return Board{name, r.bytes(0, 0), r.int64(0, 1), r.int64(0, 2)};
}

Status PgEngine::save_board(const std::string& name, const std::string& definition,
                            std::int64_t now_ms) {
    // An upsert keeps the row, and so its creation time, when the name exists.
    auto saved = pg::run(db_,
                         "WITH saved AS (INSERT INTO boards (name, definition, created_ms, "
                         "updated_ms) VALUES ($1, $2, $3, $3) ON CONFLICT (name) DO UPDATE SET "
                         "definition = excluded.definition, updated_ms = excluded.updated_ms), "
                         "bump AS (UPDATE korvel_changes SET n = n + 1) SELECT 1",
                         pg::Params().add(name).add_bytes(definition).add(now_ms));
    if (!saved) {
        return saved.error();
    }
    return {};
}

Result<bool> PgEngine::delete_board(const std::string& name) {
    auto gone = pg::run(db_,
                        "WITH gone AS (DELETE FROM boards WHERE name = $1 RETURNING 1), "
                        "bump AS (UPDATE korvel_changes SET n = n + 1) SELECT count(*) FROM gone",
                        pg::Params().add(name));
    if (!gone) {
        return gone.error();
    }
    return gone.value().int64(0, 0) > 0;
}

}  // namespace history
