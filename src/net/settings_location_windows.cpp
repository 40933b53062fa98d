#if defined(_WIN32)
#include <cstdlib>

#include "net/settings_location.h"

namespace net {

// The user's settings sit beside the history, in %APPDATA%\Korvel; the
// machine-wide ones in %PROGRAMDATA%\Korvel.
SettingsPlaces settings_places(const std::filesystem::path& named,
                               const std::filesystem::path& program_dir) {
    const wchar_t* app_data = _wgetenv(L"APPDATA");
    const wchar_t* program_data = _wgetenv(L"PROGRAMDATA");
    return {
        named, program_dir,
        app_data != nullptr ? std::filesystem::path(app_data) / L"Korvel" : std::filesystem::path(),
        program_data != nullptr ? std::filesystem::path(program_data) / L"Korvel"
                                : std::filesystem::path()};
}

}  // namespace net
#endif
