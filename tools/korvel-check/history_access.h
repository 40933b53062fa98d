#pragma once
// The history file a korvel-check run uses: the one --db names, or the
// user's (history::default_history_path).
#include <filesystem>
#include <optional>
#include <string>

#include "history/store.h"

namespace cli {

struct OpenedHistory {
    std::optional<history::Store> store;
    std::string problem;  // one line (UTF-8) when the file cannot be used
};

OpenedHistory open_history(const std::optional<std::string>& db);

// The store's file as a path.
std::filesystem::path history_file_of(const history::Store& store);

}  // namespace cli
