#pragma once
// A fresh directory per test, removed afterwards, and a store opened in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "history/store.h"
#include "plain/temp_dir.h"

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
