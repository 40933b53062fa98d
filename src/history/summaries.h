#pragma once
// The tables kept beside the checks so that a long history is never read
// whole for a short answer: each goods item's best rank per cell, the
// number of checks per board, and each cell's days (day_summary.h).
// Triggers keep them on insert; these rebuild them after a migration or a
// bulk load, and keep them right through a prune.
#include <cstdint>

#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// All three from every check. Run inside the caller's transaction.
Status rebuild_summaries(const sql::Connection& db);
Status rebuild_best(const sql::Connection& db);
Status rebuild_counts(const sql::Connection& db);

// For a prune of the checks before time_ms, in the caller's transaction:
// before the checks go, forget_before sets aside the best ranks reached
// before time_ms (the only ones a prune can invalidate) and takes the
// checks about to go off the counts; after they went, restore_best_from_days
// sums up again the day the prune cut through and finds the best ranks set
// aside from the days that are left, a row a day, never the checks.
Status forget_before(const sql::Connection& db, std::int64_t time_ms);
Status restore_best_from_days(const sql::Connection& db, std::int64_t time_ms);

}  // namespace history
