#pragma once
// The ranking search behind every query button: runs of at most two listing
// pages, chained over the keywords or category levels, each run reported in
// the page's result box; the query buttons come back when the last run is
// reported. Called by the click handlers once the query state is set.
#include "ranking/query_kind.h"
#include "ranking/query_state.h"
#include "ranking/query_view.h"

namespace ranking {

// Returns when the whole query has finished, or at once after a wait during
// which the window went away (nothing is touched then). Without a Goods ID
// (`have_goods` false) no listing is fetched and every run reports that.
void run_ranking_search(QueryView& view, QueryState& state, QueryKind kind, bool have_goods);

}  // namespace ranking
