#include "catalogue/catalogue_handlers.h"

#include "catalogue/loaders.h"
#include "catalogue/selection_lists.h"

namespace catalogue {

void load_level1_first_visit(ui::Context& ctx) {
    load_level1(ctx, Visit::First);
}
void retry_level1(ui::Context& ctx) {
    load_level1(ctx, Visit::Retry);
}
void on_level1_selected(ui::Context& ctx) {
    load_sub_level(ctx, ListKind::Level2);
}
void on_level2_selected(ui::Context& ctx) {
    load_sub_level(ctx, ListKind::Level3);
}
void on_level3_selected(ui::Context& ctx) {
    store_selection(ctx, ListKind::Level3);
}
void load_tabs_first_visit(ui::Context& ctx) {
    load_tabs(ctx, Visit::First);
}
void retry_tabs(ui::Context& ctx) {
    load_tabs(ctx, Visit::Retry);
}
void on_tab_selected(ui::Context& ctx) {
    store_selection(ctx, ListKind::Tabs);
}

}  // namespace catalogue
