#pragma once
// The category and 爱逛街 lists the main window has loaded, as id + name
// entries (GBK), for the board form's pickers: level 1 is every first-level
// category, levels 2 and 3 are the sub-levels of what the category page has
// chosen, and a list not loaded yet is empty.
#include <array>
#include <string>
#include <vector>

#include "catalogue/catalogue_data.h"
#include "catalogue/category_line.h"

namespace app {

struct CatalogueChoices {
    std::array<std::vector<catalogue::CategoryEntry>, 3> levels;  // level 1 to 3
    std::vector<catalogue::CategoryEntry> tabs;
    std::string level2_parent;  // the level-1 id whose children levels[1] holds
    std::string level3_parent;  // the level-2 id whose children levels[2] holds
};

// What the boxes of the category and 爱逛街 pages offer now: a list whose box
// was emptied offers nothing, even while its buffer still holds the last load.
CatalogueChoices catalogue_choices(const catalogue::CatalogueData& data);

}  // namespace app
