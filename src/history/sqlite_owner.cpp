#include "history/sqlite_owner.h"

#include <sqlite3.h>

#include <climits>
#include <utility>

namespace history::sql {

Connection::Connection(Connection&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Connection& Connection::operator=(Connection&& other) noexcept {
    if (this != &other) {
        reset();
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

Connection::~Connection() {
    reset();
}

void Connection::reset() {
    if (db_ != nullptr) {
        // close_v2 waits for statements still alive instead of failing.
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)),
      bind_failure_(std::exchange(other.bind_failure_, 0)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        statement_ = std::exchange(other.statement_, nullptr);
        bind_failure_ = std::exchange(other.bind_failure_, 0);
    }
    return *this;
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

void Statement::note(int rc) {
    if (rc != SQLITE_OK && bind_failure_ == 0) {
        bind_failure_ = rc;
    }
}

Statement& Statement::bind(int index, std::int64_t value) {
    note(sqlite3_bind_int64(statement_, index, value));
    return *this;
}

Statement& Statement::bind(int index, double value) {
    note(sqlite3_bind_double(statement_, index, value));
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (text.size() > static_cast<std::size_t>(INT_MAX)) {
        note(SQLITE_TOOBIG);
        return *this;
    }
    note(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                           SQLITE_TRANSIENT));
    return *this;
}

Statement& Statement::bind(int index, std::optional<int> value) {
    return value ? bind(index, static_cast<std::int64_t>(*value)) : bind_null(index);
}

Statement& Statement::bind_null(int index) {
    note(sqlite3_bind_null(statement_, index));
    return *this;
}

Status Statement::each_row(const std::function<void(const Statement&)>& visit) {
    for (;;) {
        auto row = step();
        if (!row) {
            return row.error();
        }
        if (!row.value()) {
            return {};
        }
        visit(*this);
    }
}

Result<bool> Statement::step() {
    sqlite3* db = sqlite3_db_handle(statement_);
    if (bind_failure_ != 0) {
        return error_of(db, bind_failure_, "preparing a query");
    }
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
        return true;
    }
    if (rc == SQLITE_DONE) {
        return false;
    }
    return error_of(db, rc, "reading or writing the history");
}

Status Statement::run() {
    auto stepped = step();
    if (!stepped) {
        return stepped.error();
    }
    return {};
}

Status Statement::reset_for_reuse() {
    bind_failure_ = 0;
    sqlite3_clear_bindings(statement_);
    const int rc = sqlite3_reset(statement_);
    if (rc != SQLITE_OK) {
        return error_of(sqlite3_db_handle(statement_), rc, "reusing a query");
    }
    return {};
}

std::int64_t Statement::int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

std::string Statement::text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    // Asked after the text, so the count is of the text's bytes.
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr) {
        return {};
    }
    return std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
}

bool Statement::is_null(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

Error error_of(sqlite3* db, int rc, std::string_view doing) {
    const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    Error error{ErrorCode::storage, std::string(doing) + ": " + detail};
    switch (rc & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            error.code = ErrorCode::busy;
            break;
        case SQLITE_NOTADB:
            error.code = ErrorCode::not_a_history;
            break;
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
        case SQLITE_READONLY:
            error.code = ErrorCode::cannot_open;
            break;
        default:
            break;
    }
    return error;
}

Result<Connection> open_file(const std::string& utf8_path) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(utf8_path.c_str(), &db, flags, nullptr);
    Connection owner(db);  // a handle comes back even on failure and must be closed
    if (rc != SQLITE_OK) {
        return error_of(db, rc, "opening the history file " + utf8_path);
    }
    sqlite3_extended_result_codes(db, 1);
    return owner;
}

Result<Statement> prepare(const Connection& db, std::string_view sql) {
    sqlite3_stmt* statement = nullptr;
    const int rc =
        sqlite3_prepare_v2(db.get(), sql.data(), static_cast<int>(sql.size()), &statement, nullptr);
    Statement owner(statement);
    if (rc != SQLITE_OK) {
        return error_of(db.get(), rc, "preparing a query");
    }
    return owner;
}

Status exec(const Connection& db, const char* sql) {
    const int rc = sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return error_of(db.get(), rc, "writing the history");
    }
    return {};
}

Result<std::int64_t> single_int(const Connection& db, const char* sql) {
    auto statement = prepare(db, sql);
    if (!statement) {
        return statement.error();
    }
    return single_int(statement.value());
}

Result<std::int64_t> single_int(Statement& statement) {
    auto row = statement.step();
    if (!row) {
        return row.error();
    }
    return row.value() ? statement.int64(0) : 0;
}

std::int64_t last_insert_id(const Connection& db) {
    return sqlite3_last_insert_rowid(db.get());
}

std::int64_t changes(const Connection& db) {
    return sqlite3_changes64(db.get());
}

Result<Transaction> Transaction::begin(const Connection& db) {
    if (auto begun = exec(db, "BEGIN IMMEDIATE"); !begun) {
        return begun.error();
    }
    return Transaction(db.get());
}

Transaction::Transaction(Transaction&& other) noexcept : db_(std::exchange(other.db_, nullptr)) {}

Transaction::~Transaction() {
    if (db_ != nullptr) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

Status Transaction::commit() {
    const int rc = sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        // The destructor rolls back what could not be committed.
        return error_of(db_, rc, "saving to the history");
    }
    db_ = nullptr;
    return {};
}

}  // namespace history::sql
