// Levels 2 and 3: the children of the chosen category, fetched from the
// operations API when a level-1 or level-2 category is chosen.
#include "catalogue/fetch_body.h"
#include "catalogue/load_tickets.h"
#include "catalogue/loaders.h"
#include "catalogue/request_paths.h"
#include "catalogue/response_parsing.h"
#include "catalogue/status_link_widget.h"
#include "net/hosts.h"
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
    return kind == ListKind::Level2 ? level2_path(parent_id) : level3_path(parent_id);
}

// Empties the list and every list below it at once, shows the progress
// caption and stores the parent's id; returns the path to fetch.
std::string prepare_try(ui::Context& ctx, ListKind kind) {
    buffer_of(ctx.data, kind).clear();
    if (kind == ListKind::Level2)
        clear_box(ctx, ListKind::Level2);
    clear_box(ctx, ListKind::Level3);
    change_link(ctx, kCategoryLink,
                [kind](LinkState link) { return loading(std::move(link), loading_caption(kind)); });
    const ListKind parent = level_above(kind);
    store_selection(ctx, parent);
    return path_for(kind, holder_of(ctx.data, parent));
}

}  // namespace

void load_sub_level(ui::Context& ctx, ListKind kind) {
    const Ticket ticket = begin_sub_level_load(ctx.window, kind);
    // Retried as a loop, not by recursion: a category without children and an
    // unreachable host answer blank every time.
    for (int attempt = 1; attempt <= kSubLevelTries; ++attempt) {
        const std::string path = prepare_try(ctx, kind);
        const std::string body = fetch_body(net::hosts().operations_api, path);
        // A newer choice meanwhile owns the buffer, the box and the link.
        if (superseded(ctx.window, kind, ticket))
            return;
        std::string& buffer = buffer_of(ctx.data, kind);
        buffer += group_lines_from_response(body);
        if (!text::trim(buffer).empty())
            break;
    }
    fill(ctx, kind);
    change_link(ctx, kCategoryLink, hidden);
}

}  // namespace catalogue
