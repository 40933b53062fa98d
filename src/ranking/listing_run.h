#pragma once
// A run read page by page on the calling thread, as the window's queries and
// the command line's sequential checks do. The steps fetch a page and may
// pause after it arrives and after its rows are read; returning false from a
// step abandons the run (the window went away).
#include <optional>
#include <string>
#include <vector>

#include "ranking/listing_read.h"

namespace ranking {

class RunSteps {
  public:
    virtual ~RunSteps() = default;
    virtual net::PageResult fetch(int page) = 0;
    virtual bool page_arrived(const net::PageResult& page) {
        (void)page;
        return true;
    }
    virtual bool page_read(const ListingRead& read) {
        (void)read;
        return true;
    }
};

// The finished read, or nullopt when a step abandoned it.
std::optional<ListingRead> run_listing(QueryKind kind, std::vector<std::string> targets,
                                       RunSteps& steps);

}  // namespace ranking
