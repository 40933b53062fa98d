#include "ranking/listing_read.h"

#include <algorithm>

#include "ranking/listing_scan.h"
#include "text/primitives.h"

namespace ranking {

ListingRead::ListingRead(QueryKind kind, std::vector<std::string> targets)
    : kind_(kind),
      targets_(std::move(targets)),
      outcomes_(targets_.size(), RunOutcome::not_in_top_1000()),
      found_(targets_.size(), false) {
    done_ = targets_.empty();
}

void ListingRead::add_page(const net::PageResult& page) {
    if (done_)
        return;
    statuses_.push_back(page.status);
    const std::size_t before = rows_.size();
    if (page.failure == net::PageFailure::none)
        append_listing_rows(rows_, kind_, text::as_text(page.body));
    if (const auto failure = page_failure(page, rows_.size() - before)) {
        rows_.resize(before);
        settle_missing(*failure);
        done_ = true;
        return;
    }
    ++pages_read_;
    scan_rows();
    if (all_found() || pages_read_ >= kPagesPerRun) {
        settle_missing(RunOutcome::not_in_top_1000());
        done_ = true;
    }
}

void ListingRead::scan_rows() {
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (found_[i])
            continue;
        if (const auto position = scan_listing(rows_, targets_[i])) {
            found_[i] = true;
            outcomes_[i] = RunOutcome::found_at(*position);
        }
    }
}

bool ListingRead::all_found() const {
    return std::all_of(found_.begin(), found_.end(), [](bool f) { return f; });
}

void ListingRead::settle_missing(const RunOutcome& outcome) {
    for (std::size_t i = 0; i < targets_.size(); ++i) {
        if (!found_[i])
            outcomes_[i] = outcome;
    }
}

}  // namespace ranking
