#pragma once
// A PostgreSQL history of a test's own: a fresh schema in the database that
// KORVEL_TEST_PG_URL names (scripts/test.sh starts that server), dropped
// with everything in it when the test ends. Header-only: only the programs
// that use it link the history module. A build without PostgreSQL has no
// server to test: every PostgreSQL case skips.
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>

#include "history/location.h"
#if KORVEL_WITH_POSTGRESQL
#include "history/pg_owner.h"
#endif

namespace test {

// The server's URL, or nothing when the tests run without one.
inline std::optional<std::string> test_pg_url() {
    if (!KORVEL_WITH_POSTGRESQL) {
        return std::nullopt;
    }
    const char* url = std::getenv("KORVEL_TEST_PG_URL");
    if (url == nullptr || *url == '\0') {
        return std::nullopt;
    }
    return std::string(url);
}

inline constexpr const char* kNoPgServer =
    "KORVEL_TEST_PG_URL is not set (scripts/test.sh sets it): PostgreSQL cases skipped";

#if KORVEL_WITH_POSTGRESQL
class PgScratch {
  public:
    explicit PgScratch(const std::string& url) {
        static std::atomic<int> made{0};
        schema_ = "korvel_test_" + std::to_string(getpid()) + "_" + std::to_string(++made);
        auto admin = history::pg::connect(history::Location(url));
        if (!admin) {
            problem_ = admin.error().message;
            return;
        }
        admin_ = std::move(admin).value();
        run("CREATE SCHEMA " + schema_);
        run("SET search_path TO " + schema_);
        location_ = history::Location(url + (url.find('?') == std::string::npos ? "?" : "&") +
                                      "options=-csearch_path%3D" + schema_);
    }
    ~PgScratch() {
        if (admin_) {
            run("DROP SCHEMA " + schema_ + " CASCADE");
        }
    }
    PgScratch(const PgScratch&) = delete;
    PgScratch& operator=(const PgScratch&) = delete;

    // Where the history lives: the server's URL with the schema as search_path.
    const history::Location& location() const { return location_; }
    // Why the schema could not be made; empty when it was.
    const std::string& problem() const { return problem_; }

    // One statement in the schema, for looking under the store; its first
    // value, or nothing.
    std::optional<std::string> run(const std::string& sql) {
        auto rows = history::pg::run(admin_, sql);
        if (!rows) {
            problem_ = rows.error().message;
            return std::nullopt;
        }
        if (rows.value().size() == 0) {
            return std::nullopt;
        }
        return rows.value().text(0, 0);
    }

  private:
    std::string schema_;
    history::pg::Connection admin_;
    history::Location location_;
    std::string problem_;
};
#else
// Never made (test_pg_url gives no server); here so that the cases compile.
class PgScratch {
  public:
    explicit PgScratch(const std::string&) {}
    const history::Location& location() const { return location_; }
    const std::string& problem() const { return problem_; }
    std::optional<std::string> run(const std::string&) { return std::nullopt; }

  private:
    history::Location location_;
    std::string problem_;
};
#endif

}  // namespace test
