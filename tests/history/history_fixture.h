#pragma once
// A fresh directory per test, removed afterwards, and a store opened in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "history/store.h"
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
