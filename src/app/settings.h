#pragma once
// The window's settings: which korvel.ini it reads (the order of
// net/settings_location.h, the same as korvel-check's), and the
// configuration read from it (service/configuration.h, the same reader as
// the command line's); only locating the program needs Qt.
#include <filesystem>
#include <optional>

#include "board/board_settings.h"
#include "net/settings_file.h"
#include "net/settings_location.h"
#include "service/configuration.h"

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

// The configuration the window loaded (hosts, the board's pace, the notice
// channels): read again when the file in use changes, so the next query,
// board run or notice uses what was saved. Ignored values are reported on
// stderr once per reading.
service::Configuration configuration();

// Reads the file in use again now.
void apply_settings();

// The [board] values in force.
board::BoardSettings board_settings();

// Hosts that win over the settings file's (a test's or a renderer's own
// server); none: the file's again.
void override_hosts(std::optional<net::Hosts> hosts);

}  // namespace app
