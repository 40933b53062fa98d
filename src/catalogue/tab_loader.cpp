// The 爱逛街 tabs: on the first visit of 爱逛街排名 and on a click of the
// status link after a failure.
#include "catalogue/fetch_body.h"
#include "catalogue/load_tickets.h"
#include "catalogue/loaders.h"
#include "catalogue/response_parsing.h"
#include "catalogue/selection_lists.h"
#include "catalogue/status_link_update.h"
#include "net/remote_addresses.h"
#include "text/lines.h"

namespace catalogue {

void load_tabs(CatalogueView& view, CatalogueData& data, Visit visit) {
    const ExclusiveLoad load(data.loads, ListKind::Tabs);
    if (!load.running())
        return;
    set_link(view, data, Link::tabs, loading(data.tab_link, tabs_loading_caption()));
    const net::LifetimeWatch watch = view.watch();
    const std::string body = fetch_body(data.hosts.operations_api, net::tablist_path());
    if (!watch.alive())
        return;

    // Appended: a retry after a partial load keeps the lines found before.
    data.tabs.buffer += tab_lines_from_response(body);
    fill(view, data, ListKind::Tabs);
    const int lines = text::line_count(data.tabs.buffer);
    set_link(view, data, Link::tabs, after_tabs_load(data.tab_link, lines));
    if (visit == Visit::Retry)
        finish_retry(view, data, Link::tabs, after_tabs_retry(data.tab_link, lines), watch);
}

}  // namespace catalogue
