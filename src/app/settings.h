#pragma once
// Where the window finds its settings file. Reading the file is shared with
// the command line (net/settings_file.h); only locating it needs Qt.
#include <filesystem>

#include "net/settings_file.h"

namespace app {

using net::is_host_setting;
using net::kSettingsFileName;
using net::load_settings;
using net::parse_settings;
using net::Settings;

// korvel.ini beside the running program.
std::filesystem::path settings_path();

}  // namespace app
