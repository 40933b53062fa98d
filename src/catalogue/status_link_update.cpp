#include "catalogue/status_link_update.h"

namespace catalogue {

void set_link(CatalogueView& view, CatalogueData& data, Link link, LinkState next) {
    LinkState& kept = data.link(link);
    kept = std::move(next);
    view.show_link(link, kept);
}

void finish_retry(CatalogueView& view, CatalogueData& data, Link link, RetryOutcome outcome,
                  const net::LifetimeWatch& watch) {
    set_link(view, data, link, std::move(outcome.link));
    if (!outcome.announce_success)
        return;
    view.message(success_message(), 0, message_caption());
    // The box dispatched events: read the link's state afresh.
    if (watch.alive())
        set_link(view, data, link, after_success_box(data.link(link)));
}

}  // namespace catalogue
