#pragma once
// The settings a korvel-check run reads: the configuration of the settings
// file (hosts, the board's politeness, the notice channels), the command
// line's scheduler options over the politeness. Ignored values of the file
// are reported on stderr.
#include <filesystem>
#include <memory>
#include <optional>

#include "check_options.h"
#include "service/configuration.h"

namespace cli {

// The settings file a run reads: the named one, else the first of the
// places net/settings_location.h lists; empty when there is none.
std::filesystem::path run_settings_file(const CheckOptions& options);

// The configuration of run_settings_file (built-in defaults without one);
// nullopt when a named file cannot be read.
std::optional<service::Configuration> load_run_settings(const CheckOptions& options);

// The same for a long-running command, read again whenever the file
// changes; nullptr when a named file cannot be read.
std::shared_ptr<service::ConfigurationSource> run_settings_source(const CheckOptions& options);

// The command line's scheduler options over `settings`.
void apply_overrides(const CheckOptions& options, board::BoardSettings& settings);

}  // namespace cli
