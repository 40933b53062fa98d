// --version: which program this is and which settings file its runs read,
// so a user can tell what an installed copy uses.
#include <iostream>

#include "commands.h"
#include "exit_codes.h"
#include "run_settings.h"

namespace cli {

int run_version(const CheckOptions& options) {
    std::cout << kProgramName << ' ' << KORVEL_VERSION << '\n';
    const std::filesystem::path file = run_settings_file(options);
    if (file.empty() && options.config)
        return usage_error("cannot read the settings file '" + *options.config + "'");
    if (file.empty())
        std::cout << "settings: none found, built-in defaults\n";
    else
        std::cout << "settings: " << file.string() << '\n';
    std::cout << std::flush;
    return kExitAllRead;
}

}  // namespace cli
