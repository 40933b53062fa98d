#pragma once
// What differs between operating systems. Only platform_*.cpp may assume one.
#include <functional>

namespace app {

// Environment the browser engine needs before QApplication exists (its
// sandbox cannot run for the root user).
void prepare_browser_environment();

// Calls `request_close` on the GUI thread when the system asks the program to
// end (SIGTERM, SIGINT, SIGHUP on POSIX), so it ends as if the user had closed
// the window. Call once, after QApplication exists.
void on_termination_request(std::function<void()> request_close);

}  // namespace app
