#include "ranking/listing_run.h"

namespace ranking {

std::optional<ListingRead> run_listing(QueryKind kind, std::vector<std::string> targets,
                                       RunSteps& steps) {
    ListingRead read(kind, std::move(targets));
    while (read.wants_page()) {
        const net::PageResult page = steps.fetch(read.next_page());
        if (!steps.page_arrived(page))
            return std::nullopt;
        read.add_page(page);
        if (!steps.page_read(read))
            return std::nullopt;
    }
    return read;
}

}  // namespace ranking
