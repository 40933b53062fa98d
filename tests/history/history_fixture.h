#pragma once
// A fresh directory per test, removed afterwards, and a store opened in it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "history/store.h"

namespace history_test {

class TempDir {
  public:
    TempDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("korvel-history-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

inline std::string file_bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
