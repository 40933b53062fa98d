#pragma once
// The settings a korvel-check run reads: the hosts and the board's
// politeness from the settings file, the command line's scheduler options
// over the latter. Ignored values of the file are reported on stderr.
#include <filesystem>
#include <optional>

#include "board/board_settings.h"
#include "check_options.h"
#include "net/hosts.h"

namespace cli {

struct RunSettings {
    net::Hosts hosts;
    board::BoardSettings scheduler;
    std::filesystem::path file;  // empty: none found, the built-in defaults
};

// The settings file a run reads: the named one, else the first of the
// places net/settings_location.h lists; empty when there is none.
std::filesystem::path run_settings_file(const CheckOptions& options);

// The settings of run_settings_file (built-in defaults without one);
// nullopt when a named file cannot be read.
std::optional<RunSettings> load_run_settings(const CheckOptions& options);

}  // namespace cli
