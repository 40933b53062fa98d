#pragma once
// Where korvel.ini is looked for, shared by the window and korvel-check so
// both read the same file. The first place holding a file wins:
//   1. the file the command line names (--config FILE),
//   2. korvel.ini beside the program (a portable copy keeps its own),
//   3. the user's: $XDG_CONFIG_HOME/korvel/korvel.ini, else
//      ~/.config/korvel/korvel.ini (%APPDATA%\Korvel\korvel.ini on Windows),
//   4. the machine's: /etc/xdg/korvel/korvel.ini.
// Without any, the built-in defaults hold.
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace net {

struct SettingsPlaces {
    std::filesystem::path named;        // empty: none named
    std::filesystem::path program_dir;  // empty: unknown
    std::filesystem::path user_dir;     // empty: no home directory to tell
    std::filesystem::path system_dir;   // empty: none on this system
};

// The files in the order above, the unknown places left out.
std::vector<std::filesystem::path> settings_candidates(const SettingsPlaces& places);

// The first candidate for which `exists` holds; empty when none does. A named
// file is the only candidate: a missing one is the caller's error to report.
std::filesystem::path choose_settings_file(
    const SettingsPlaces& places, const std::function<bool(const std::filesystem::path&)>& exists);

// The user's korvel.ini, where a new settings file is written; empty when
// there is no user directory.
std::filesystem::path user_settings_file(const SettingsPlaces& places);

// The user's settings directory from the environment's values (null when
// unset): XDG_CONFIG_HOME when absolute, else HOME/.config; + "korvel".
std::filesystem::path xdg_user_settings_dir(const char* xdg_config_home, const char* home);

// The places of this machine and user (the environment, the platform's
// conventions) with `named` and `program_dir` as given.
SettingsPlaces settings_places(const std::filesystem::path& named,
                               const std::filesystem::path& program_dir);

// choose_settings_file over the real file system: regular files only.
std::filesystem::path find_settings_file(const SettingsPlaces& places);

}  // namespace net
