#include "result_rows.h"

#include <algorithm>

#include "exit_codes.h"
#include "text/codepage.h"

namespace cli {

ResultRow result_row(const std::string& goods_id, const PlannedListing& listing,
                     const ranking::RunOutcome& outcome) {
    ResultRow row;
    row.goods_id = goods_id;
    row.listing = std::string(ranking::listing_name(listing.listing.kind));
    row.key = listing.key;
    row.sort = std::string(sort_label(listing.listing));
    row.status = outcome.status;
    if (outcome.status == ranking::RunStatus::found)
        row.rank = outcome.rank;
    if (outcome.status == ranking::RunStatus::failed)
        row.reason = text::gbk_to_utf8(ranking::reason_text(outcome));
    return row;
}

std::vector<ResultRow> goods_major_rows(
    const std::vector<std::string>& goods_ids, const std::vector<PlannedListing>& listings,
    const std::vector<std::vector<ranking::RunOutcome>>& outcomes) {
    std::vector<ResultRow> rows;
    rows.reserve(goods_ids.size() * listings.size());
    for (std::size_t g = 0; g < goods_ids.size(); ++g) {
        for (std::size_t l = 0; l < listings.size(); ++l)
            rows.push_back(result_row(goods_ids[g], listings[l], outcomes.at(l).at(g)));
    }
    return rows;
}

int exit_code_of(const std::vector<ResultRow>& rows) {
    const bool failed = std::any_of(rows.begin(), rows.end(), [](const ResultRow& row) {
        return row.status == ranking::RunStatus::failed;
    });
    return failed ? kExitSomeFailed : kExitAllRead;
}

}  // namespace cli
