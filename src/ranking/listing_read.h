#pragma once
// One run of a listing for one or several goods at once: page 1, then page 2
// only while some goods item is still missing. Each page is read once and
// scanned for every goods item; positions count from the first row of page 1,
// so page 2 is only ever read after page 1 was.
#include <cstddef>
#include <string>
#include <vector>

#include "net/fetch_page.h"
#include "ranking/listing_extraction.h"
#include "ranking/run_outcome.h"

namespace ranking {

inline constexpr int kPagesPerRun = 2;

class ListingRead {
  public:
    ListingRead(QueryKind kind, std::vector<std::string> targets);

    // True while another page is wanted; next_page() names it.
    bool wants_page() const { return !done_; }
    int next_page() const { return pages_read_ + 1; }

    // Takes the page asked for. A page that cannot be read fails every goods
    // item not found yet; no further page is asked for then.
    void add_page(const net::PageResult& page);

    // One per target, in the order given; meaningful once !wants_page().
    const std::vector<RunOutcome>& outcomes() const { return outcomes_; }
    int pages_read() const { return pages_read_; }
    const std::vector<int>& statuses() const { return statuses_; }
    // The rows of every page read so far (column 0 the goods id).
    const std::vector<ListingRow>& rows() const { return rows_; }

  private:
    void scan_rows();
    bool all_found() const;
    void settle_missing(const RunOutcome& outcome);

    QueryKind kind_;
    std::vector<std::string> targets_;
    std::vector<RunOutcome> outcomes_;
    std::vector<bool> found_;
    std::vector<ListingRow> rows_;
    std::vector<int> statuses_;
    int pages_read_ = 0;
    bool done_ = false;
};

}  // namespace ranking
