#pragma once
// A fresh directory per test, removed afterwards, and a store opened in it:
// HistoryTest for what only a SQLite file does, StoreContract for what every
// engine must do alike (each case runs on a SQLite file and on a fresh
// PostgreSQL schema).
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "history/sqlite_owner.h"
#include "history/store.h"
#include "plain/pg_scratch.h"
#include "plain/temp_dir.h"

namespace history {

// Readable failures: a check prints as its words, not its bytes.
inline void PrintTo(const Check& check, std::ostream* out) {
    *out << "{#" << check.id << " " << check.board << " " << to_text(check.listing) << ":"
         << check.key << ":" << to_text(check.sort) << " t=" << check.time_ms
         << " pages=" << check.pages_read << " http=" << join_statuses(check.http_statuses) << " "
         << to_text(check.outcome) << " '" << check.reason << "'";
    for (const auto& goods : check.goods) {
        *out << " [" << goods.goods_id << " " << to_text(goods.role)
             << " rank=" << (goods.rank ? std::to_string(*goods.rank) : "-")
             << " status=" << (goods.status ? to_text(*goods.status) : "-") << " '" << goods.reason
             << "']";
    }
    *out << "}";
}

}  // namespace history

namespace history_test {

using test::file_bytes;
using test::TempDir;

class HistoryTest : public ::testing::Test {
  protected:
    history::Store open_store() {
        auto store = history::Store::open(file());
        EXPECT_TRUE(store.ok()) << store.error().message;
        return std::move(store).value();
    }
    std::filesystem::path file() const { return dir.path() / "history.sqlite"; }

    TempDir dir;
};

enum class EngineKind { sqlite, postgresql };

class StoreContract : public ::testing::TestWithParam<EngineKind> {
  protected:
    void SetUp() override {
        if (GetParam() == EngineKind::sqlite) {
            location_ = dir.path() / "history.sqlite";
            return;
        }
        const auto url = test::test_pg_url();
        if (!url) {
            GTEST_SKIP() << test::kNoPgServer;
        }
        scratch_.emplace(*url);
        ASSERT_TRUE(scratch_->problem().empty()) << scratch_->problem();
        location_ = scratch_->location();
    }

    history::Store open_store() {
        auto store = history::Store::open(location_);
        EXPECT_TRUE(store.ok()) << store.error().message;
        return std::move(store).value();
    }
    const history::Location& location() const { return location_; }

    // The rows a table holds, counted under the store.
    std::int64_t rows_in(const std::string& table) {
        const std::string sql = "SELECT count(*) FROM " + table;
        if (scratch_) {
            return std::stoll(scratch_->run(sql).value_or("-1"));
        }
        auto raw = history::sql::open_file(location_.text());
        return raw ? history::sql::single_int(raw.value(), sql.c_str()).value() : -1;
    }

    TempDir dir;
    std::optional<test::PgScratch> scratch_;
    history::Location location_;
};

inline history::Check keyword_check(std::string board, std::string key, history::Sort sort,
                                    std::int64_t time_ms) {
    history::Check check;
    check.board = std::move(board);
    check.key = std::move(key);
    check.sort = sort;
    check.time_ms = time_ms;
    check.pages_read = 1;
    check.http_statuses = {200};
    check.outcome = history::Outcome::not_in_top_1000;
    check.goods = {{"1001", history::Role::own, std::nullopt}};
    return check;
}

}  // namespace history_test
