#pragma once
// The per-day summary built from checks in one pass: the checks read in
// time order (checks_by_time), each day's points folded in memory by the
// rules the insert trigger's upsert keeps (day_summary.cpp), and written a
// day at a time, so memory holds one day's cells. Much faster than the
// upsert row by row: a migration reads a year in one sequential pass.
#include <cstdint>

#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// Into an empty cell_days, inside the caller's transaction.
Status fold_all_days(const sql::Connection& db);

// The checks from since_ms to until_ms (exclusive) of the cells listed in
// temp.stale_cells (board, listing, listing_key, sort_order), into a
// cell_days holding no row of those cells' days in that span.
Status fold_stale_cells(const sql::Connection& db, std::int64_t since_ms, std::int64_t until_ms);

}  // namespace history
