#if defined(_WIN32)
#include <cstdlib>

#include "history/default_path.h"

namespace history {

// The wide variable, so a user name outside the ANSI code page still works.
Result<std::filesystem::path> default_history_path() {
    const wchar_t* app_data = _wgetenv(L"APPDATA");
    if (app_data == nullptr || *app_data == L'\0') {
        return Error{ErrorCode::cannot_open,
                     "no data directory for the history: APPDATA is not set"};
    }
    return history_file_in(std::filesystem::path(app_data) / "Korvel");
}

}  // namespace history
#endif
