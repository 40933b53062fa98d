#pragma once
// The window's settings: which korvel.ini it reads (the order of
// net/settings_location.h, the same as korvel-check's), and the values read
// from it. Reading the file is shared with the command line
// (net/settings_file.h, board/board_settings.h); only locating the program
// needs Qt.
#include <filesystem>

#include "board/board_settings.h"
#include "net/settings_file.h"
#include "net/settings_location.h"

namespace app {

using net::is_host_setting;
using net::kSettingsFileName;
using net::load_settings;
using net::parse_settings;
using net::Settings;

// The places the window looks in: beside the program, the user's, the
// machine's (nothing is named on its command line).
net::SettingsPlaces settings_places();

// The settings file in use now: the first that exists; empty when there is
// none and the built-in defaults hold. Looked up on every call, so a file
// the settings dialog has just written is found.
std::filesystem::path settings_path();

// Reads the file in use and applies it: the hosts at once (the next request
// goes to them), the board's pace to board_settings(). Ignored values are
// reported on stderr.
void apply_settings();

// The [board] values last applied.
board::BoardSettings board_settings();

}  // namespace app
