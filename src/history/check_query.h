#pragma once
// The reading of checks both engines share: the conditions a CheckFilter
// puts on the checks table (alias c), in order, and the statement that reads
// checks with their goods rows. Each engine writes its own placeholders.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "history/check_filter.h"

namespace history {

struct FilterTerm {
    const char* column_and_comparison = "";  // "c.time_ms >=": the placeholder follows
    std::variant<std::int64_t, std::string> value;
};

std::vector<FilterTerm> filter_terms(const CheckFilter& filter);

// Checks with their goods rows, before the WHERE clause: the goods of a
// check follow it, so a check is complete when the next id appears.
inline constexpr const char* kCheckRowsSelect =
    "SELECT c.id, c.board, c.listing, c.listing_key, c.sort_order, c.time_ms, c.pages_read, "
    "c.http_statuses, c.outcome, c.reason, g.goods_id, g.role, g.rank, g.status, g.reason "
    "FROM checks c LEFT JOIN check_goods g ON g.check_id = c.id";

// The ORDER BY after the WHERE clause: one the indexes give (checks_by_time,
// checks_by_board, checks_by_cell), so nothing is sorted in memory.
const char* check_rows_order(bool newest_first);

}  // namespace history
