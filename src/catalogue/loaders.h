#pragma once
// The loaders that fill the selection lists from the network.
#include "catalogue/catalogue_data.h"
#include "catalogue/catalogue_view.h"

namespace catalogue {

enum class Visit { First, Retry };

// A blank level-2 or level-3 answer is fetched again, up to this many tries
// in all; then the box stays empty.
inline constexpr int kSubLevelTries = 3;

// Level 1 from the vendor info page, into 编辑框9 / 组合框1.
void load_level1(CatalogueView& view, CatalogueData& data, Visit visit);
// Level 2 (after a level-1 choice) or level 3 (after a level-2 choice).
void load_sub_level(CatalogueView& view, CatalogueData& data, ListKind kind);
// The 爱逛街 tabs, appended to 编辑框14 / 组合框4.
void load_tabs(CatalogueView& view, CatalogueData& data, Visit visit);

}  // namespace catalogue
