// The 爱逛街 tabs: on the first visit of 爱逛街排名 and on a click of the
// status link after a failure.
#include "catalogue/fetch_body.h"
#include "catalogue/load_tickets.h"
#include "catalogue/loaders.h"
#include "catalogue/request_paths.h"
#include "catalogue/response_parsing.h"
#include "catalogue/status_link_widget.h"
#include "net/hosts.h"
#include "net/message_box.h"
#include "text/lines.h"

namespace catalogue {

void load_tabs(ui::Context& ctx, Visit visit) {
    const ExclusiveLoad load(ctx.window, ListKind::Tabs);
    if (!load.running())
        return;
    change_link(ctx, kTabLink,
                [](LinkState link) { return loading(std::move(link), tabs_loading_caption()); });
    const std::string body = fetch_body(net::hosts().operations_api, tablist_path());

    // Appended: a retry after a partial load keeps the lines found before.
    ctx.data.编辑框14 += tab_lines_from_response(body);
    fill(ctx, ListKind::Tabs);
    const int lines = text::line_count(ctx.data.编辑框14);
    change_link(ctx, kTabLink,
                [lines](LinkState link) { return after_tabs_load(std::move(link), lines); });
    if (visit == Visit::First)
        return;

    RetryOutcome outcome;
    change_link(ctx, kTabLink, [&](LinkState link) {
        outcome = after_tabs_retry(std::move(link), lines);
        return outcome.link;
    });
    if (!outcome.announce_success)
        return;
    net::show_message(success_message(), 0, message_caption());
    change_link(ctx, kTabLink, after_success_box);
}

}  // namespace catalogue
