#if !defined(_WIN32)
#include <cstdlib>

#include "net/settings_location.h"

namespace net {

SettingsPlaces settings_places(const std::filesystem::path& named,
                               const std::filesystem::path& program_dir) {
    return {named, program_dir,
            xdg_user_settings_dir(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")),
            std::filesystem::path("/etc/xdg/korvel")};
}

}  // namespace net
#endif
