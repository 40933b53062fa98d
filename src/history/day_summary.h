#pragma once
// The per-day summary of every cell (table cell_days): for each goods item
// and UTC day its best point, worst point read and last point. A trigger
// keeps it as goods rows are added; these build it for the migration that
// brings it, after a bulk load, and again for the one day a prune cuts
// through. Each runs inside the caller's transaction.
#include <cstdint>

#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// Creates the table and its trigger and fills it from every check.
Status create_day_summary(const sql::Connection& db);

// Every row again, from every check.
Status rebuild_days(const sql::Connection& db);

// After the checks before time_ms went: the days wholly before it go; of
// the day it falls in, the cells whose best, worst or last point went are
// summed up again from what is left of that day.
Status refresh_days_before(const sql::Connection& db, std::int64_t time_ms);

}  // namespace history
