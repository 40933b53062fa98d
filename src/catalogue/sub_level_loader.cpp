// Levels 2 and 3: the children of the chosen category, fetched from the
// operations API when a level-1 or level-2 category is chosen.
#include "catalogue/fetch_body.h"
#include "catalogue/load_tickets.h"
#include "catalogue/loaders.h"
#include "catalogue/response_parsing.h"
#include "catalogue/selection_lists.h"
#include "catalogue/status_link_update.h"
#include "net/remote_addresses.h"
#include "text/primitives.h"

namespace catalogue {

namespace {

ListKind level_above(ListKind kind) {
    return kind == ListKind::Level2 ? ListKind::Level1 : ListKind::Level2;
}

const std::string& loading_caption(ListKind kind) {
    return kind == ListKind::Level2 ? level2_loading_caption() : level3_loading_caption();
}

std::string path_for(ListKind kind, const std::string& parent_id) {
    return kind == ListKind::Level2 ? net::level2_groups_path(parent_id)
                                    : net::level3_groups_path(parent_id);
}

// Empties the list and every list below it at once, shows the progress
// caption and stores the parent's id; returns the path to fetch.
std::string prepare_try(CatalogueView& view, CatalogueData& data, ListKind kind) {
    data.list(kind).buffer.clear();
    if (kind == ListKind::Level2)
        clear_box(view, data, ListKind::Level2);
    clear_box(view, data, ListKind::Level3);
    set_link(view, data, Link::category, loading(data.category_link, loading_caption(kind)));
    const ListKind parent = level_above(kind);
    store_selection(view, data, parent);
    return path_for(kind, data.list(parent).chosen_id);
}

}  // namespace

void load_sub_level(CatalogueView& view, CatalogueData& data, ListKind kind) {
    const Ticket ticket = begin_sub_level_load(data.loads, kind);
    const net::LifetimeWatch watch = view.watch();
    // Retried as a loop, not by recursion: a category without children and an
    // unreachable host answer blank every time.
    for (int attempt = 1; attempt <= kSubLevelTries; ++attempt) {
        const std::string path = prepare_try(view, data, kind);
        const std::string body = fetch_body(data.hosts.operations_api, path);
        // A newer choice meanwhile owns the buffer, the box and the link.
        if (!watch.alive() || superseded(data.loads, kind, ticket))
            return;
        std::string& buffer = data.list(kind).buffer;
        buffer += group_lines_from_response(body);
        if (!text::trim(buffer).empty())
            break;
    }
    fill(view, data, kind);
    set_link(view, data, Link::category, hidden(data.category_link));
}

}  // namespace catalogue
