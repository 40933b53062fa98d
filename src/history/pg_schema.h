#pragma once
// The layout of a history in a PostgreSQL database, its version (in the
// table korvel_schema) and the steps that bring an older one up to date.
// The tables are made in the first schema of the connection's search_path.
#include "history/pg_owner.h"
#include "history/result.h"

namespace history {

// The same numbering as the SQLite file's: a database at version N holds
// what a file at version N does.
inline constexpr int current_pg_schema_version = 4;

// Refuses a database that is not UTF-8, one written by a newer program, or
// one whose tables of our names belong to something else, before anything
// is written; creates the tables in an empty database, migrates an older
// one in one transaction (two processes opening it at once take turns).
Status prepare_pg_schema(const pg::Connection& db);

// Moves the change counter on, inside the caller's transaction. Written
// last in a transaction, so that no writer waits for the counter while
// holding rows another writer needs.
inline constexpr const char* bump_changes = "UPDATE korvel_changes SET n = n + 1";

}  // namespace history
