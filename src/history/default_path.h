#pragma once
#include <filesystem>

#include "history/result.h"

namespace history {

// The history file shared by the window and the command line, in the user's
// data directory, which is created when missing:
//   $XDG_DATA_HOME/korvel/history.sqlite (when set to an absolute path), else
//   $HOME/.local/share/korvel/history.sqlite; on Windows
//   %APPDATA%\Korvel\history.sqlite.
Result<std::filesystem::path> default_history_path();

// `directory`/history.sqlite, with the directory created.
Result<std::filesystem::path> history_file_in(const std::filesystem::path& directory);

}  // namespace history
