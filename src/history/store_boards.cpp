// Saved boards: a unique name and a definition the store keeps verbatim.
#include "history/sqlite_engine.h"

namespace history {

Result<std::vector<std::string>> SqliteEngine::board_names() const {
    auto statement = sql::prepare(db_, "SELECT name FROM boards ORDER BY name");
    if (!statement) {
        return statement.error();
    }
    std::vector<std::string> names;
    auto read = statement.value().each_row(
        [&](const sql::Statement& row) { names.push_back(row.text(0)); });
    if (!read) {
        return read.error();
    }
    return names;
}

Result<Board> SqliteEngine::load_board(const std::string& name) const {
    auto statement =
        sql::prepare(db_, "SELECT definition, created_ms, updated_ms FROM boards WHERE name = ?");
    if (!statement) {
        return statement.error();
    }
    auto& select = statement.value();
    auto row = select.bind(1, name).step();
    if (!row) {
        return row.error();
    }
    if (!row.value()) {
        return Error{ErrorCode::not_found, "there is no board named " + name};
    }
    return Board{name, select.text(0), select.int64(1), select.int64(2)};
}

Status SqliteEngine::save_board(const std::string& name, const std::string& definition,
                                std::int64_t now_ms) {
    // An upsert keeps the row, and so its creation time, when the name exists.
    auto statement = sql::prepare(db_,
                                  "INSERT INTO boards (name, definition, created_ms, updated_ms) "
                                  "VALUES (?1, ?2, ?3, ?3) ON CONFLICT (name) DO UPDATE SET "
                                  "definition = excluded.definition, updated_ms = ?3");
    if (!statement) {
        return statement.error();
    }
    return statement.value().bind(1, name).bind(2, definition).bind(3, now_ms).run();
}

Result<bool> SqliteEngine::delete_board(const std::string& name) {
    auto statement = sql::prepare(db_, "DELETE FROM boards WHERE name = ?");
    if (!statement) {
        return statement.error();
    }
    if (auto done = statement.value().bind(1, name).run(); !done) {
        return done.error();
    }
    return sql::changes(db_) > 0;
}

}  // namespace history
