#pragma once
// A board's checks by cell, kept in step with the history file: loaded once
// when the board opens, each new check stored (one transaction) and kept, so
// the grid, the charts and the notices never wait on the file. Works without
// a file too (the command line's --no-history).
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/check_record.h"
#include "board/notices.h"
#include "history/store.h"

namespace board {

class BoardLog {
  public:
    BoardLog(std::string board_name, history::Store* store);

    // Reads the board's stored checks; an error message (UTF-8) or empty.
    std::string load();
    // Stores and keeps a check; an error message when the file refused it
    // (the check is kept in memory all the same).
    std::string add(history::Check check);

    // One cell's checks, oldest first.
    const std::vector<history::Check>& cell(const CellKey& key) const;
    std::size_t size() const { return count_; }

    // The change notices of a run's checks: each compared with the last
    // successful check of its cell before it.
    std::vector<history::Notice> run_notices(const std::vector<history::Check>& run,
                                             const NoticeThresholds& thresholds) const;

  private:
    std::string board_;
    history::Store* store_;
    std::map<CellKey, std::vector<history::Check>> cells_;
    std::size_t count_ = 0;
};

}  // namespace board
