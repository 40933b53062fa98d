#pragma once
// Errors of the history store as values: SQLite's codes never leave the module
// and nothing in it throws across its boundary.
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace history {

enum class ErrorCode {
    cannot_open,     // the file or its directory cannot be opened or created
    not_a_history,   // not a database, or a database of something else
    newer_schema,    // written by a newer program; left untouched
    busy,            // another process kept the file locked past the timeout
    invalid_record,  // the caller's record breaks a rule of the store
    not_found,       // no such board
    lease_lost,      // the board's lease is another worker's now; nothing was written
    storage,         // any other failure of the database (I/O, disk full, damage)
};

struct Error {
    ErrorCode code = ErrorCode::storage;
    std::string message;  // UTF-8, fit to show to the user
};

// Either a value or an error.
template <class T>
class Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(Error error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return std::get<0>(state_); }
    T& value() & { return std::get<0>(state_); }
    // By value, so `for (auto& c : store.checks(f).value())` owns what it walks.
    T value() && { return std::get<0>(std::move(state_)); }
    const Error& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, Error> state_;
};

// Success, or an error.
template <>
class Result<void> {
  public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return !error_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return *error_; }

  private:
    std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace history
