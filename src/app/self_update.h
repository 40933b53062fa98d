#pragma once
// The self-update run at start: when the vendor publishes a version other than
// ours, download it into the program directory, start it, leave the deleter
// behind for the old program file and end the process.
#include <QString>
#include <functional>

#include "app/program_data.h"

namespace app {

// What would end or escape a test is replaceable: the running program file,
// the end of the process, the deleter program and whether the program's
// directory can be written. An empty member means the real thing (the
// application's file, std::_Exit, korvel-deleter beside the program or in
// the installed helper directory, a file created there).
struct UpdateHooks {
    std::function<QString()> program_path;
    std::function<void(int exit_code)> end_process;  // may return in tests
    std::function<QString()> deleter_program;
    std::function<bool(const QString& dir)> dir_writable;
};
void set_update_hooks(UpdateHooks hooks);

// Step 2 of the start-up sequence. Returns when there is nothing to update or
// the download failed; otherwise ends the process with exit code 0. A program
// that cannot write its own directory (installed from a package) does not
// replace itself: it says once that a new version exists and that the
// package should be updated, and returns.
void run_update_check(app::Context& ctx);

}  // namespace app
