#if defined(_WIN32)
#include "app/platform.h"

namespace app {

// The browser engine's sandbox works for every user on Windows.
void prepare_browser_environment() {}

// Closing from the task bar or a session end reaches the window as a close.
void on_termination_request(std::function<void()>) {}

}  // namespace app
#endif
