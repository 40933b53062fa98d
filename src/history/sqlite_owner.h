#pragma once
// Move-only owners of SQLite's connection and statement handles, and a
// write transaction that rolls back unless committed. sqlite3.h stays in the
// .cpp files: the handle types are declared here only.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "history/result.h"

struct sqlite3;
struct sqlite3_stmt;

namespace history::sql {

class Connection {
  public:
    Connection() = default;
    explicit Connection(sqlite3* db) : db_(db) {}
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    sqlite3* get() const { return db_; }
    explicit operator bool() const { return db_ != nullptr; }

  private:
    void reset();
    sqlite3* db_ = nullptr;
};

// A prepared statement. Bind failures are kept and reported by the next step,
// so a call site binds its values without checking each one.
class Statement {
  public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Parameters count from 1.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, double value);
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, std::optional<int> value);  // nothing binds NULL
    Statement& bind_null(int index);

    // True while a row is ready, false once the statement is done.
    Result<bool> step();
    // Steps to the end, handing each row to `visit` to read its columns.
    Status each_row(const std::function<void(const Statement&)>& visit);
    Status run();  // steps once, expecting no row
    Status reset_for_reuse();

    // Columns count from 0.
    std::int64_t int64(int column) const;
    double real(int column) const;
    std::string text(int column) const;
    bool is_null(int column) const;

  private:
    void note(int rc);
    sqlite3_stmt* statement_ = nullptr;
    int bind_failure_ = 0;
};

// A library error as ours: `doing` says what was being done, in the user's terms.
Error error_of(sqlite3* db, int rc, std::string_view doing);

Result<Connection> open_file(const std::string& utf8_path);
Result<Statement> prepare(const Connection& db, std::string_view sql);
Status exec(const Connection& db, const char* sql);  // one or more statements, no rows
Result<std::int64_t> single_int(const Connection& db, const char* sql);
// The same for a statement already prepared and bound.
Result<std::int64_t> single_int(Statement& statement);
std::int64_t last_insert_id(const Connection& db);
std::int64_t changes(const Connection& db);  // rows changed by the last statement

// BEGIN IMMEDIATE takes the write lock up front, so the busy timeout applies
// here instead of failing halfway through when another writer holds it.
class Transaction {
  public:
    static Result<Transaction> begin(const Connection& db);
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    Status commit();

  private:
    explicit Transaction(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;  // null once committed or moved from
};

}  // namespace history::sql
