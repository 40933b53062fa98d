// Level 1: the vendor info page's category list, on the first visit of
// 类目排名 and on a click of the status link after a failure.
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

namespace {

void finish_retry(ui::Context& ctx, int lines) {
    RetryOutcome outcome;
    change_link(ctx, kCategoryLink, [&](LinkState link) {
        outcome = after_level1_retry(std::move(link), lines);
        return outcome.link;
    });
    if (!outcome.announce_success)
        return;
    net::show_message(success_message(), 0, message_caption());
    change_link(ctx, kCategoryLink, after_success_box);
}

}  // namespace

void load_level1(ui::Context& ctx, Visit visit) {
    const ExclusiveLoad load(ctx.window, ListKind::Level1);
    if (!load.running())
        return;
    if (visit == Visit::First) {
        ctx.data.编辑框9.clear();
        change_link(ctx, kCategoryLink, [](LinkState link) {
            return loading(std::move(link), level1_loading_caption());
        });
    }
    const std::string body = fetch_body(net::hosts().vendor_info, level1_path());

    ctx.data.编辑框9 = level1_buffer_from_page(body);
    fill(ctx, ListKind::Level1);
    const int lines = text::line_count(ctx.data.编辑框9);
    if (visit == Visit::Retry)
        return finish_retry(ctx, lines);
    change_link(ctx, kCategoryLink, [lines](LinkState link) {
        return after_level1_first_visit(std::move(link), lines);
    });
}

}  // namespace catalogue
