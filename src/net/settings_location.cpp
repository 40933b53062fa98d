#include "net/settings_location.h"

#include "net/settings_file.h"

namespace net {

std::vector<std::filesystem::path> settings_candidates(const SettingsPlaces& places) {
    if (!places.named.empty())
        return {places.named};
    std::vector<std::filesystem::path> files;
    for (const auto* dir : {&places.program_dir, &places.user_dir, &places.system_dir}) {
        if (!dir->empty())
            files.push_back(*dir / kSettingsFileName);
    }
    return files;
}

std::filesystem::path choose_settings_file(
    const SettingsPlaces& places, const std::function<bool(const std::filesystem::path&)>& exists) {
    for (const std::filesystem::path& file : settings_candidates(places)) {
        if (exists(file))
            return file;
    }
    return {};
}

std::filesystem::path user_settings_file(const SettingsPlaces& places) {
    return places.user_dir.empty() ? std::filesystem::path() : places.user_dir / kSettingsFileName;
}

std::filesystem::path xdg_user_settings_dir(const char* xdg_config_home, const char* home) {
    // A relative XDG_CONFIG_HOME is to be ignored, as the base directory rules say.
    if (xdg_config_home != nullptr && std::filesystem::path(xdg_config_home).is_absolute())
        return std::filesystem::path(xdg_config_home) / "korvel";
    if (home == nullptr || *home == '\0')
        return {};
    return std::filesystem::path(home) / ".config" / "korvel";
}

std::filesystem::path find_settings_file(const SettingsPlaces& places) {
    return choose_settings_file(places, [](const std::filesystem::path& file) {
        std::error_code error;
        return std::filesystem::is_regular_file(file, error);
    });
}

}  // namespace net
