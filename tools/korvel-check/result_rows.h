#pragma once
// One output row per (goods item, listing, sort order), all text UTF-8.
#include <string>
#include <vector>

#include "check_plan.h"
#include "ranking/run_outcome.h"

namespace cli {

struct ResultRow {
    std::string goods_id;  // the Goods ID; the input as typed when no id was got from it
    std::string listing;   // keyword, category, tab or new
    std::string key;       // keyword, category id or tab id; empty for new goods
    std::string sort;      // the sort's name; empty for listings without sort orders
    ranking::RunStatus status = ranking::RunStatus::failed;
    int rank = 0;        // found only
    std::string reason;  // failed only: the reason the window shows, in UTF-8
};

ResultRow result_row(const std::string& goods_id, const PlannedListing& listing,
                     const ranking::RunOutcome& outcome);

// Rows goods by goods in the order given, each goods item's rows in listing
// order. `outcomes[l][g]` is how listing l ended for goods item g;
// `goods_ids[g]` names goods item g.
std::vector<ResultRow> goods_major_rows(
    const std::vector<std::string>& goods_ids, const std::vector<PlannedListing>& listings,
    const std::vector<std::vector<ranking::RunOutcome>>& outcomes);

// 0 when every row was read, 2 when any failed.
int exit_code_of(const std::vector<ResultRow>& rows);

}  // namespace cli
