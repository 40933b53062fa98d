#pragma once
// The notice channels of a korvel-check run: chosen by the board, defined in
// the settings file, sent on a thread of their own and reported on stderr.
#include <filesystem>
#include <memory>

#include "notify/board_notifier.h"

namespace cli {

struct RunNotices {
    std::shared_ptr<notify::Dispatcher> dispatcher;  // drains (bounded) when the last owner goes
    std::shared_ptr<notify::BoardNotifier> notifier;
};

// Reads the channels of `settings_file` (what is wrong with them goes to
// stderr) for the notices of runs kept in `history_file`.
RunNotices run_notices(const std::filesystem::path& settings_file,
                       const std::filesystem::path& history_file);

}  // namespace cli
