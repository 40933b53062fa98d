#include "catalogue/catalogue_handlers.h"

namespace catalogue {

// Not built yet: the loaders arrive with the catalogue.
void load_level1_first_visit(ui::Context&) {}
void retry_level1(ui::Context&) {}
void on_level1_selected(ui::Context&) {}
void on_level2_selected(ui::Context&) {}
void on_level3_selected(ui::Context&) {}
void load_tabs_first_visit(ui::Context&) {}
void retry_tabs(ui::Context&) {}
void on_tab_selected(ui::Context&) {}

}  // namespace catalogue
