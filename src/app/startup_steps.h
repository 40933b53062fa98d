#pragma once
// The steps of the start-up sequence that run before the window first shows.
#include "app/program_data.h"

namespace app {

// Writes the skin to disk and applies it to the application.
void install_skin();
// Compares the vendor's version record with our own; on another version it
// shows the window, downloads and starts the new program and ends the process.
void check_update(app::Context& ctx);
// Fetches the announcement and shows it in 编辑框20.
void show_announcement(app::Context& ctx);

}  // namespace app
