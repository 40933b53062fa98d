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

// What `current` is compared with: a copy of it whose goods rows are, for
// each goods item, its row of the last check before it in `before` that was
// read for that item (items never read there are left out). Nothing when no
// goods item has such a row.
std::optional<history::Check> baseline(const std::vector<history::Check>& before,
                                       const history::Check& current);

// "▲3" (moved up three places), "▼12", "新进" (entered the first 1000),
// "跌出" (left it), or empty: no change, no successful baseline, the new
// check was not read, or the goods item is missing from one of them.
std::string change_text(const std::optional<history::Check>& previous,
                        const history::Check& current, std::string_view goods_id);

// change_text of the list's latest check against the last one before it
// that was read for the goods item.
std::string latest_change_text(const std::vector<history::Check>& checks,
                               std::string_view goods_id);

// The goods item's best (lowest) rank in any read listing of the list.
std::optional<int> best_rank(const std::vector<history::Check>& checks, std::string_view goods_id);

}  // namespace board
