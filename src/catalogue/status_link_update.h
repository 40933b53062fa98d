#pragma once
// A status link's state lives in the catalogue's data; the window shows it.
#include "catalogue/catalogue_data.h"
#include "catalogue/catalogue_view.h"
#include "net/lifetime.h"

namespace catalogue {

// Keeps `next` as the link's state and shows it.
void set_link(CatalogueView& view, CatalogueData& data, Link link, LinkState next);

// The end of a retry click: shows the outcome's link; after a success the
// "获取成功" box follows, and the link is disabled once the box is closed (if
// the window is still there).
void finish_retry(CatalogueView& view, CatalogueData& data, Link link, RetryOutcome outcome,
                  const net::LifetimeWatch& watch);

}  // namespace catalogue
