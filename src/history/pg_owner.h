#pragma once
// Move-only owners of libpq's connection and result handles, parameters that
// are always bound ($1, $2, ...) and never spliced into the text of a
// statement, and a transaction that rolls back unless committed. libpq-fe.h
// stays in the .cpp files: the handle types are declared here only.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/location.h"
#include "history/result.h"

struct pg_conn;
struct pg_result;

namespace history::pg {

class Connection {
  public:
    Connection() = default;
    Connection(pg_conn* conn, Location location);
    Connection(Connection&& other) noexcept;
    Connection& operator=(Connection&& other) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    pg_conn* get() const { return conn_; }
    const Location& location() const { return location_; }
    explicit operator bool() const { return conn_ != nullptr; }

  private:
    pg_conn* conn_ = nullptr;
    Location location_;  // masks the password in every error
};

// The rows of one statement, every column in text form.
class Rows {
  public:
    Rows() = default;
    explicit Rows(pg_result* result) : result_(result) {}
    Rows(Rows&& other) noexcept;
    Rows& operator=(Rows&& other) noexcept;
    Rows(const Rows&) = delete;
    Rows& operator=(const Rows&) = delete;
    ~Rows();

    int size() const;
    bool is_null(int row, int column) const;
    std::string text(int row, int column) const;
    std::int64_t int64(int row, int column) const;  // 0 for NULL
    double real(int row, int column) const;
    std::string bytes(int row, int column) const;  // a bytea column, byte for byte
    std::int64_t affected() const;                 // rows a command changed
    pg_result* get() const { return result_; }

  private:
    pg_result* result_ = nullptr;
};

// Values for $1, $2, ... in the order added. Everything goes as text except
// bytes, which go in binary so that a NUL byte survives.
class Params {
  public:
    Params& add(std::string_view text);
    Params& add(const char* text) { return add(std::string_view(text)); }
    Params& add(std::int64_t value);
    Params& add(int value) { return add(static_cast<std::int64_t>(value)); }
    Params& add(double value);
    Params& add(std::optional<int> value);  // none: NULL
    Params& add_null();
    Params& add_bytes(std::string_view bytes);

    int size() const { return static_cast<int>(values_.size()); }
    std::vector<const char*> pointers() const;
    std::vector<int> lengths() const;
    const std::vector<int>& formats() const { return formats_; }

  private:
    std::vector<std::optional<std::string>> values_;
    std::vector<int> formats_;
};

// Array literals for one parameter ('{"a","b",NULL}'), so a statement of
// fixed text takes any number of rows through unnest().
std::string text_array(const std::vector<std::optional<std::string>>& items);
std::string int_array(const std::vector<std::optional<std::int64_t>>& items);

// Connects with the location's URL; the server is asked for UTF-8 text and
// TLS is required for a host that is not this machine (see pg_address.h).
Result<Connection> connect(const Location& location);

// One statement. Outside a transaction, a statement the server cancelled
// for a deadlock or a serialization conflict is tried again, and a lost
// connection is opened again first.
Result<Rows> run(const Connection& db, std::string_view sql, const Params& params = {});
// One or more statements without parameters or rows (schema, BEGIN, ...).
Status exec(const Connection& db, const char* sql);

// Hands the rows of `sql` over `batch` at a time through a cursor, so a long
// read stays in constant memory; visit gets the batch and the row and
// returns false to stop. Runs inside the caller's transaction, or in a
// read-only one of its own.
Status stream(const Connection& db, std::string_view sql, const Params& params, int batch,
              const std::function<bool(const Rows&, int)>& visit);

// A write transaction; joins the one already open on the connection (the
// outer one commits), otherwise rolls back unless committed.
class Transaction {
  public:
    static Result<Transaction> begin(const Connection& db, const char* how = "BEGIN");
    Transaction(Transaction&& other) noexcept;
    Transaction& operator=(Transaction&&) = delete;
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();

    Status commit();

  private:
    Transaction(const Connection* db, bool owned) : db_(db), owned_(owned) {}
    const Connection* db_ = nullptr;  // null once committed or moved from
    bool owned_ = false;
};

}  // namespace history::pg
