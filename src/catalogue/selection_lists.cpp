#include "catalogue/selection_lists.h"

#include "catalogue/category_line.h"
#include "text/primitives.h"

namespace catalogue {

void clear_box(CatalogueView& view, CatalogueData& data, ListKind kind) {
    data.list(kind).ids.clear();
    view.clear_box(kind);
}

void fill(CatalogueView& view, CatalogueData& data, ListKind kind) {
    if (kind != ListKind::Level1)
        clear_box(view, data, kind);

    SelectionList& list = data.list(kind);
    std::vector<std::string> names;
    for (CategoryEntry& entry : parse_category_lines(list.buffer)) {
        names.push_back(std::move(entry.name));
        list.ids.push_back(std::move(entry.id));
    }
    view.append_names(kind, names);
}

void store_selection(const CatalogueView& view, CatalogueData& data, ListKind kind) {
    const int index = view.chosen_index(kind);
    SelectionList& list = data.list(kind);
    if (index < 0 || static_cast<std::size_t>(index) >= list.ids.size())
        return;
    list.chosen_id = list.ids[static_cast<std::size_t>(index)];
}

bool needs_loading(const CatalogueData& data, ListKind kind) {
    return text::trim(data.list(kind).buffer).empty();
}

}  // namespace catalogue
