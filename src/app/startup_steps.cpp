#include "app/startup_steps.h"

namespace app {

// Not built yet: skin, self-update and announcement arrive with their own files.
void install_skin() {}
void check_update(ui::Context&) {}
void show_announcement(ui::Context&) {}

}  // namespace app
