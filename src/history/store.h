#pragma once
// The check history: one SQLite file shared by the window and the command
// line. Each added check is one transaction, so a crash or kill loses at most
// the check being written. Open one Store per thread; several processes may
// open the same file at once.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "history/records.h"
#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// Which checks to read. A board of "" means the checks made without a board;
// no board means every check. Times select since_ms <= time < until_ms.
struct CheckFilter {
    std::optional<std::string> board{};
    std::optional<std::int64_t> since_ms{};
    std::optional<std::int64_t> until_ms{};
    std::optional<Listing> listing{};
    std::optional<std::string> key{};
    std::optional<Sort> sort{};
};

class Store {
  public:
    // Opens or creates the file (its directory must exist). Refuses a file of
    // a newer schema or of another program without writing to it.
    static Result<Store> open(const std::filesystem::path& file);

    Store(Store&&) noexcept = default;
    Store& operator=(Store&&) noexcept = default;

    // Checks. add_check returns the new check's id.
    Result<std::int64_t> add_check(const Check& check);
    Result<std::vector<Check>> checks(const CheckFilter& filter) const;  // by time, then id
    Result<std::int64_t> count_checks(const std::optional<std::string>& board = {}) const;
    Result<std::int64_t> prune_before(std::int64_t time_ms);  // returns the checks removed

    // Boards, by unique name. save_board inserts or replaces the definition;
    // a replaced board keeps its creation time.
    Result<std::vector<std::string>> board_names() const;     // sorted by name
    Result<Board> load_board(const std::string& name) const;  // not_found when absent
    Status save_board(const std::string& name, const std::string& definition, std::int64_t now_ms);
    Result<bool> delete_board(const std::string& name);  // false when there was none

    // Change notices of a board, by time then id; since_ms is inclusive.
    Result<std::int64_t> add_notice(const Notice& notice);
    Result<std::vector<Notice>> notices(const std::string& board,
                                        std::optional<std::int64_t> since_ms = {}) const;

    // PRAGMA integrity_check reports "ok".
    Result<bool> integrity_ok() const;

    const std::string& path() const { return path_; }

  private:
    Store(sql::Connection db, std::string path) : db_(std::move(db)), path_(std::move(path)) {}

    sql::Connection db_;
    std::string path_;  // UTF-8, for messages
};

}  // namespace history
