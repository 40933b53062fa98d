#pragma once
// The tables kept beside the checks on a server (each goods item's best rank
// per cell, the number of checks per board, each cell's days): record_check
// keeps them on insert; these rebuild them after a migration, a prune or a
// copy, inside the caller's transaction.
#include <cstdint>
#include <string>

#include "history/pg_owner.h"
#include "history/result.h"

namespace history::pg_summaries {

// All three tables from every check.
Status rebuild(const pg::Connection& db);
Status rebuild_counts(const pg::Connection& db);

// The per-day summary (pg_days.cpp). day_rows turns goods points, selected
// by `points` with the columns board, listing, listing_key, sort_order,
// goods_id, role, time_ms, check_id, position, place (records.h),
// goods_reason and check_reason, into one row per cell, goods item and day;
// upsert_days folds those rows into what cell_days holds.
std::string day_rows(const std::string& points);
// Those points, of checks c and their goods g as `from` (FROM ... WHERE ...)
// names them.
std::string points(const std::string& from);
std::string upsert_days(const std::string& points);
// Every row again, from every check.
Status rebuild_days(const pg::Connection& db);
// After the checks before time_ms went: the days wholly before it go, and
// of the day it falls in, the cells whose best, worst or last point went
// are summed up again from what is left of that day. Then the best ranks
// listed in the temporary table stale_best (board, listing, listing_key,
// sort_order, goods_id) are found again, from the days, never the checks.
Status refresh_days_and_best(const pg::Connection& db, std::int64_t time_ms);

}  // namespace history::pg_summaries
