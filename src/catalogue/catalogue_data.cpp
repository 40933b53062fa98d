#include "catalogue/catalogue_data.h"

namespace catalogue {

namespace {

// One lookup for the const and the mutable data alike.
template <class Data>
auto& list_in(Data& data, ListKind kind) {
    switch (kind) {
        case ListKind::Level1:
            return data.level1;
        case ListKind::Level2:
            return data.level2;
        case ListKind::Level3:
            return data.level3;
        case ListKind::Tabs:
            break;
    }
    return data.tabs;
}

}  // namespace

SelectionList& CatalogueData::list(ListKind kind) {
    return list_in(*this, kind);
}

const SelectionList& CatalogueData::list(ListKind kind) const {
    return list_in(*this, kind);
}

LinkState& CatalogueData::link(Link which) {
    return which == Link::category ? category_link : tab_link;
}

}  // namespace catalogue
