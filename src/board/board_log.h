#pragma once
// What a board keeps of its history in memory: for each cell its newest
// checks and each goods item's best rank (see CellData), read by index when
// the board opens, never the board's whole history. New checks are recorded
// through it (with their notices, in one transaction) or, when another
// connection recorded them, kept. Works without a file too (the command
// line's --no-history).
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/check_record.h"
#include "board/grid.h"
#include "board/notices.h"
#include "history/store.h"

namespace board {

class BoardLog {
  public:
    BoardLog(std::string board_name, history::Store* store);

    // Reads what the grid needs of these cells; an error message (UTF-8) or empty.
    std::string load(const std::vector<CellKey>& cells);
    // Reads one cell again (after another process wrote to it).
    std::string reload(const CellKey& cell);

    // The notices `check` gives against the cell's earlier reads.
    std::vector<history::Notice> notices_for(const history::Check& check,
                                             const NoticeThresholds& thresholds,
                                             const NoticeNames& names = {}) const;
    // Stores the check with its notices in one transaction (their ids are
    // written back) and keeps it; the error when the history refused it (the
    // check is kept in memory all the same, unless the board's lease was lost:
    // then the check belongs to the worker that took the board over).
    std::optional<history::Error> record(history::Check& check,
                                         std::vector<history::Notice>& notices);
    // Keeps a check that is already stored.
    void keep(history::Check check);

    const CellData& cell(const CellKey& key) const;
    // The board's checks in the history (or kept, without a file).
    std::int64_t size() const { return count_; }
    const std::string& board() const { return board_; }

  private:
    std::string read_cell(const CellKey& key, CellData& into) const;
    void trim(CellData& data) const;

    std::string board_;
    history::Store* store_;
    std::map<CellKey, CellData> cells_;
    std::int64_t count_ = 0;
};

// The cells of a board's grid, in grid order.
std::vector<CellKey> board_cells(const GridLayout& layout);

}  // namespace board
