#pragma once
// Row writers the store's files share; each runs inside the caller's
// transaction and assumes the record was checked.
#include <cstdint>

#include "history/records.h"
#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history::rows {

Result<std::int64_t> insert_check(const sql::Connection& db, const Check& check);
Result<std::int64_t> insert_notice(const sql::Connection& db, const Notice& notice);

}  // namespace history::rows
