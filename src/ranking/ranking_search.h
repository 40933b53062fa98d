#pragma once
// The ranking search behind every query button: runs of at most two listing
// pages, chained over the keywords or category levels, each run reported in
// the tab's result box; the query buttons come back when the last run is
// reported. Called by the click handlers once the query state is set.
#include "ranking/query_kind.h"
#include "ui/program_data.h"

namespace ranking {

// Returns when the whole query has finished, or at once after a wait during
// which the window went away (nothing is touched then).
void run_ranking_search(ui::Context& ctx, QueryKind kind);

}  // namespace ranking
