#pragma once
// The history a korvel-check run uses: the file or postgresql:// URL --db
// names, else the one the settings file's [history] url= names, else the
// user's file (history::default_history_path).
#include <optional>
#include <string>

#include "check_options.h"
#include "history/store.h"

namespace cli {

struct OpenedHistory {
    std::optional<history::Store> store;
    std::string problem;  // one line (UTF-8) when the history cannot be used
};

OpenedHistory open_history(const CheckOptions& options);

}  // namespace cli
