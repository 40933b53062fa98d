// Level 1: the vendor info page's category list, on the first visit of
// 类目排名 and on a click of the status link after a failure.
#include "catalogue/fetch_body.h"
#include "catalogue/load_tickets.h"
#include "catalogue/loaders.h"
#include "catalogue/response_parsing.h"
#include "catalogue/selection_lists.h"
#include "catalogue/status_link_update.h"
#include "net/remote_addresses.h"
#include "text/lines.h"

namespace catalogue {

void load_level1(CatalogueView& view, CatalogueData& data, Visit visit) {
    const ExclusiveLoad load(data.loads, ListKind::Level1);
    if (!load.running())
        return;
    if (visit == Visit::First) {
        data.level1.buffer.clear();
        set_link(view, data, Link::category, loading(data.category_link, level1_loading_caption()));
    }
    const net::LifetimeWatch watch = view.watch();
    const std::string body = fetch_body(data.hosts.vendor_info, net::level1_page_path());
    if (!watch.alive())
        return;

    data.level1.buffer = level1_buffer_from_page(body);
    fill(view, data, ListKind::Level1);
    const int lines = text::line_count(data.level1.buffer);
    if (visit == Visit::Retry) {
        finish_retry(view, data, Link::category, after_level1_retry(data.category_link, lines),
                     watch);
        return;
    }
    set_link(view, data, Link::category, after_level1_first_visit(data.category_link, lines));
}

}  // namespace catalogue
