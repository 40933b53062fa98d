#if !defined(_WIN32)
#include <cstdlib>

#include "history/default_path.h"

namespace history {

Result<std::filesystem::path> default_history_path() {
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home != nullptr && std::filesystem::path(data_home).is_absolute()) {
        return history_file_in(std::filesystem::path(data_home) / "korvel");
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        return Error{ErrorCode::cannot_open,
                     "no data directory for the history: neither XDG_DATA_HOME nor HOME is set"};
    }
    return history_file_in(std::filesystem::path(home) / ".local" / "share" / "korvel");
}

}  // namespace history
#endif
