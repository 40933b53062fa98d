#pragma once
// The tables kept beside the checks so that a long history is never read
// whole for a short answer: each goods item's best rank per cell, and the
// number of checks per board. Triggers keep them on insert; these rebuild
// them after a migration, a bulk load or a prune.
#include <cstdint>

#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

// Both tables from every check. Run inside the caller's transaction.
Status rebuild_summaries(const sql::Connection& db);

// For a prune: before the old checks go, forget_best_before sets aside the
// best ranks reached before time_ms (the only ones a prune can invalidate);
// after they went, restore_best recomputes those from what is left.
Status forget_best_before(const sql::Connection& db, std::int64_t time_ms);
Status restore_best(const sql::Connection& db);
Status rebuild_counts(const sql::Connection& db);

}  // namespace history
