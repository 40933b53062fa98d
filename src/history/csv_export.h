#pragma once
// The history as CSV for spreadsheets: UTF-8 with a byte-order mark (so a
// spreadsheet takes it for UTF-8), RFC 4180 quoting, CR LF line ends.
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "history/records.h"
#include "history/result.h"

namespace history {

// Header row, then one row per goods item of each check (a check without
// goods gives one row with empty goods columns). Times are ISO 8601 UTC with
// milliseconds; rank is empty unless found; http_statuses are joined by ';'.
// A goods item with an outcome of its own shows its own status and reason.
// Columns: time, board, listing, key, sort, goods_id, role, status, rank,
// reason, pages, http_statuses.
std::string to_csv(const std::vector<Check>& checks);

class Store;
struct CheckFilter;

// The same bytes as to_csv(store.checks(filter)), written check by check in
// constant memory. A failure of the stream is reported as a storage error.
Status write_csv(const Store& store, const CheckFilter& filter, std::ostream& out);

// One field: quoted when it holds a comma, quote, CR or LF; quotes doubled.
std::string csv_field(std::string_view text);

}  // namespace history
