#pragma once
// The settings a korvel-check run reads: the hosts and the board's
// politeness from the settings file, the command line's scheduler options
// over the latter. Ignored values of the file are reported on stderr.
#include <optional>

#include "board/board_settings.h"
#include "check_options.h"
#include "net/hosts.h"

namespace cli {

struct RunSettings {
    net::Hosts hosts;
    board::BoardSettings scheduler;
};

// The named settings file, or korvel.ini beside the program (built-in
// defaults without it); nullopt when a named file cannot be read.
std::optional<RunSettings> load_run_settings(const CheckOptions& options);

}  // namespace cli
