#pragma once
// What the board's grid shows beside a cell's rank: the change since the
// last successful check and the best rank so far. Lists of checks are one
// cell's checks in time order, as the history returns them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/records.h"

namespace board {

// The last successful check of the list, or nothing.
std::optional<history::Check> last_successful(const std::vector<history::Check>& checks);

// "▲3" (moved up three places), "▼12", "新进" (entered the first 1000),
// "跌出" (left it), or empty: no change, no successful baseline, the new
// check was not read, or the goods item is missing from one of them.
std::string change_text(const std::optional<history::Check>& previous,
                        const history::Check& current, std::string_view goods_id);

// change_text of the list's latest check against the last successful one
// before it.
std::string latest_change_text(const std::vector<history::Check>& checks,
                               std::string_view goods_id);

// The goods item's best (lowest) rank in any read listing of the list.
std::optional<int> best_rank(const std::vector<history::Check>& checks, std::string_view goods_id);

}  // namespace board
