#pragma once
// The per-day summary built from every check in one pass: the checks read in
// time order (checks_by_time), each day's points folded in memory by the
// rules the insert trigger's upsert keeps (day_summary.cpp), and written a
// day at a time, so memory holds one day's cells. Much faster than the
// upsert row by row: a migration reads a year in one sequential pass.
#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// Into an empty cell_days, inside the caller's transaction.
Status fold_all_days(const sql::Connection& db);

}  // namespace history
