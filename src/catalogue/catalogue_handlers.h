#pragma once
// Entry points of the category catalogue, bound to the window's events. Each
// gets the window's view and the catalogue's data, which must outlive the call
// (a load dispatches events while it waits).
#include "catalogue/catalogue_data.h"
#include "catalogue/catalogue_view.h"

namespace catalogue {

using Entry = void (*)(CatalogueView& view, CatalogueData& data);

// First opening of 类目排名.
void load_level1_first_visit(CatalogueView& view, CatalogueData& data);
// 透明标签1, left button pressed.
void retry_level1(CatalogueView& view, CatalogueData& data);
// 组合框1, 组合框2, 组合框3: list item selected.
void on_level1_selected(CatalogueView& view, CatalogueData& data);
void on_level2_selected(CatalogueView& view, CatalogueData& data);
void on_level3_selected(CatalogueView& view, CatalogueData& data);
// First opening of 爱逛街排名.
void load_tabs_first_visit(CatalogueView& view, CatalogueData& data);
// 透明标签2, left button pressed.
void retry_tabs(CatalogueView& view, CatalogueData& data);
// 组合框4, list item selected.
void on_tab_selected(CatalogueView& view, CatalogueData& data);

}  // namespace catalogue
