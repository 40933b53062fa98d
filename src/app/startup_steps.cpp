#include "app/startup_steps.h"

#include "app/announcement.h"
#include "app/self_update.h"
#include "app/skin.h"

namespace app {

void install_skin() {
    install_skin_into(default_skin_dir());
}
void check_update(app::Context& ctx) {
    run_update_check(ctx);
}
void show_announcement(app::Context& ctx) {
    run_announcement(ctx);
}

}  // namespace app
