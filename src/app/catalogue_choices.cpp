#include "app/catalogue_choices.h"

#include <algorithm>

namespace app {

namespace {

std::vector<catalogue::CategoryEntry> offered(const catalogue::SelectionList& list) {
    std::vector<catalogue::CategoryEntry> out;
    for (catalogue::CategoryEntry& entry : catalogue::parse_category_lines(list.buffer)) {
        const bool in_box = std::find(list.ids.begin(), list.ids.end(), entry.id) != list.ids.end();
        const bool seen =
            std::any_of(out.begin(), out.end(), [&](const auto& e) { return e.id == entry.id; });
        if (in_box && !seen)
            out.push_back(std::move(entry));
    }
    return out;
}

}  // namespace

CatalogueChoices catalogue_choices(const catalogue::CatalogueData& data) {
    return {{offered(data.level1), offered(data.level2), offered(data.level3)},
            offered(data.tabs),
            data.level1.chosen_id,
            data.level2.chosen_id};
}

}  // namespace app
