#pragma once
// The self-update run at start: when the vendor publishes a version other than
// ours, download it into the program directory, start it, leave the deleter
// behind for the old program file and end the process.
#include <QString>
#include <functional>

#include "app/program_data.h"

namespace app {

// What would end or escape a test is replaceable: the running program file,
// the end of the process and the deleter program. An empty member means the
// real thing (the application's file, std::_Exit, korvel-deleter beside the
// program).
struct UpdateHooks {
    std::function<QString()> program_path;
    std::function<void(int exit_code)> end_process;  // may return in tests
    std::function<QString()> deleter_program;
};
void set_update_hooks(UpdateHooks hooks);

// Step 2 of the start-up sequence. Returns when there is nothing to update or
// the download failed; otherwise ends the process with exit code 0.
void run_update_check(app::Context& ctx);

}  // namespace app
