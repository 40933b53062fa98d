#include "catalogue/catalogue_handlers.h"

#include "catalogue/loaders.h"
#include "catalogue/selection_lists.h"

namespace catalogue {

void load_level1_first_visit(CatalogueView& view, CatalogueData& data) {
    load_level1(view, data, Visit::First);
}
void retry_level1(CatalogueView& view, CatalogueData& data) {
    load_level1(view, data, Visit::Retry);
}
void on_level1_selected(CatalogueView& view, CatalogueData& data) {
    load_sub_level(view, data, ListKind::Level2);
}
void on_level2_selected(CatalogueView& view, CatalogueData& data) {
    load_sub_level(view, data, ListKind::Level3);
}
void on_level3_selected(CatalogueView& view, CatalogueData& data) {
    store_selection(view, data, ListKind::Level3);
}
void load_tabs_first_visit(CatalogueView& view, CatalogueData& data) {
    load_tabs(view, data, Visit::First);
}
void retry_tabs(CatalogueView& view, CatalogueData& data) {
    load_tabs(view, data, Visit::Retry);
}
void on_tab_selected(CatalogueView& view, CatalogueData& data) {
    store_selection(view, data, ListKind::Tabs);
}

}  // namespace catalogue
