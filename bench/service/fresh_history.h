#pragma once
// Where one measurement keeps its history, fresh each time: a new SQLite
// file, or a schema of its own in a PostgreSQL database (dropped when the
// measurement is over), so no measurement sees another's boards, runs or
// paces. And a throw-away server for when no URL was given.
#include <filesystem>
#include <optional>
#include <string>

#include "history/location.h"
#include "history/pg_owner.h"

namespace bench {

class FreshHistory {
  public:
    explicit FreshHistory(const std::filesystem::path& file);
    // The new schema `schema` (a plain lower-case name) in the database of `url`.
    FreshHistory(const std::string& url, const std::string& schema);
    ~FreshHistory();
    FreshHistory(const FreshHistory&) = delete;
    FreshHistory& operator=(const FreshHistory&) = delete;

    // Why it cannot be used (UTF-8, password masked), or empty.
    const std::string& problem() const { return problem_; }
    const history::Location& location() const { return location_; }

  private:
    history::Location location_;
    std::optional<history::pg::Connection> admin_;
    std::string schema_;
    std::string problem_;
};

// A PostgreSQL server of its own in a temporary directory
// (scripts/pg-test-server.sh), stopped and removed when this goes.
class ThrowAwayServer {
  public:
    ThrowAwayServer();
    ~ThrowAwayServer();
    ThrowAwayServer(const ThrowAwayServer&) = delete;
    ThrowAwayServer& operator=(const ThrowAwayServer&) = delete;

    // Its history URL; empty when it did not start (the script said why on stderr).
    const std::string& url() const { return url_; }

  private:
    std::string dir_;
    std::string url_;
};

}  // namespace bench
