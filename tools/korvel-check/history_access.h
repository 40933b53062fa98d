#pragma once
// The history file a korvel-check run uses: the one --db names, or the
// user's (history::default_history_path).
#include <optional>
#include <string>

#include "history/store.h"

namespace cli {

struct OpenedHistory {
    std::optional<history::Store> store;
    std::string problem;  // one line (UTF-8) when the file cannot be used
};

OpenedHistory open_history(const std::optional<std::string>& db);

}  // namespace cli
