#pragma once
// Between a board run and the history: a finished check becomes the record
// the history keeps (UTF-8), and a listing becomes the key of its cell.
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "board/check_report.h"
#include "history/records.h"
#include "ranking/listing.h"
#include "ranking/run_outcome.h"

namespace board {

// A cell of the history: listing kind, key (UTF-8) and sort order.
struct CellKey {
    history::Listing listing = history::Listing::keyword;
    std::string key;
    history::Sort sort = history::Sort::none;
    auto operator<=>(const CellKey&) const = default;
};

CellKey cell_key(const ranking::Listing& listing);
// The key as one line of text ("keyword\x1F辣条\x1Fsales"), for places that hold a string.
std::string cell_key_text(const CellKey& key);
CellKey cell_key(const history::Check& check);

// One goods item's row of a check from its outcome.
history::GoodsResult goods_result(std::string id, history::Role role,
                                  const ranking::RunOutcome& outcome);

// The record of one check for `goods` (ids in plan order; `own_count` of them
// the board's own goods). Each goods item keeps its own outcome: the own
// rank found on page 1 stays when a competitor's page 2 failed, and only the
// competitor's row is failed, with its reason.
history::Check check_record(const CheckReport& report, const std::vector<std::string>& goods,
                            std::size_t own_count, std::string_view board_name);

// A single run of the window's pages or the command line, for one goods item.
history::Check single_check_record(const ranking::Listing& listing, std::string_view goods_id,
                                   const ranking::RunOutcome& outcome, int pages_read,
                                   std::vector<int> statuses, std::int64_t time_ms);

std::int64_t unix_ms(std::chrono::system_clock::time_point time);

}  // namespace board
