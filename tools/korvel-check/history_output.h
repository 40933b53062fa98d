#pragma once
// The stored checks as korvel-check prints them (UTF-8): one line per goods
// item of each check (a check without goods gives one line), the columns of
// the history's CSV export: time (ISO 8601 UTC), board, listing, key, sort,
// goods_id, role, status, rank, reason, pages, http_statuses.
#include <string>
#include <vector>

#include "check_options.h"
#include "history/records.h"

namespace cli {

// CSV is the history's export (history::to_csv); a table is aligned; JSON is
// an array of objects with rank, pages and http_statuses as numbers.
std::string format_history(const std::vector<history::Check>& checks, Format format);

}  // namespace cli
