#pragma once
// The layout of the history file, its version and the steps that bring an
// older file up to date.
#include <string>

#include "history/result.h"
#include "history/sqlite_owner.h"

namespace history {

inline constexpr int current_schema_version = 4;

// Sets the connection up (busy timeout, WAL, foreign keys) and brings the file
// to the current schema: creates it in an empty file, migrates an older one in
// one transaction. A file from a newer program, or a database that is not a
// history, is refused before anything is written to it.
Status prepare_schema(const sql::Connection& db, const std::string& shown_path);

}  // namespace history
