#include "result_rows.h"

#include <algorithm>

#include "exit_codes.h"
#include "text/codepage.h"

namespace cli {

namespace {

// The index of `id` among the board's goods ids, added as own goods or as a
// competitor when new. All own goods are placed before any competitor, so a
// new item is the last of its kind.
std::size_t index_of(board::Board& b, bool own, const std::string& id) {
    const std::vector<std::string> known = board::goods_ids(b);
    const auto at = std::find(known.begin(), known.end(), id);
    if (at != known.end())
        return static_cast<std::size_t>(at - known.begin());
    (own ? b.own : b.competitors).push_back({id, {}, {}, {}});
    return known.size();
}

void place(const std::vector<GoodsInput>& inputs, const std::vector<std::string>& ids, bool own,
           board::Board& b, std::vector<GoodsColumn>& out) {
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        const std::string& id = i < ids.size() ? ids[i] : std::string();
        if (id.empty())
            out.push_back({inputs[i].typed, std::nullopt});
        else
            out.push_back({text::gbk_to_utf8(id), index_of(b, own, id)});
    }
}

// "未检查", with what kept the check from being made when the run gave up:
// "未检查（被限速）", "未检查（服务器错误）", "未检查（无响应）".
std::string not_checked_reason(const board::CheckReport* report) {
    const std::string word = text::gbk_to_utf8(board::not_checked_text());
    if (report == nullptr || report->not_checked_reason.empty() ||
        report->not_checked_reason == board::not_checked_text())
        return word;
    return word + "（" + text::gbk_to_utf8(report->not_checked_reason) + "）";
}

}  // namespace

std::vector<GoodsColumn> place_goods(const CheckPlan& plan, const ResolvedIds& ids,
                                     board::Board& board) {
    std::vector<GoodsColumn> columns;
    place(plan.own, ids.own, true, board, columns);
    place(plan.competitors, ids.competitors, false, board, columns);
    return columns;
}

std::vector<GoodsColumn> board_columns(const board::Board& board) {
    std::vector<GoodsColumn> columns;
    for (const std::string& id : board::goods_ids(board))
        columns.push_back({text::gbk_to_utf8(id), columns.size()});
    return columns;
}

ResultRow result_row(const std::string& goods_id, const ranking::Listing& listing,
                     const ranking::RunOutcome& outcome) {
    ResultRow row;
    row.goods_id = goods_id;
    row.listing = std::string(ranking::listing_name(listing.kind));
    row.key = text::gbk_to_utf8(listing.key);
    row.sort = std::string(sort_label(listing));
    row.status = outcome.status;
    if (outcome.status == ranking::RunStatus::found)
        row.rank = outcome.rank;
    if (outcome.status == ranking::RunStatus::failed)
        row.reason = text::gbk_to_utf8(ranking::reason_text(outcome));
    return row;
}

std::vector<ResultRow> goods_major_rows(const std::vector<GoodsColumn>& columns,
                                        const std::vector<ranking::Listing>& listings,
                                        const Reports& reports) {
    std::vector<ResultRow> rows;
    rows.reserve(columns.size() * listings.size());
    for (const GoodsColumn& goods : columns) {
        for (std::size_t l = 0; l < listings.size(); ++l) {
            const board::CheckReport* report =
                l < reports.size() && reports[l] ? &*reports[l] : nullptr;
            if (!goods.target) {
                rows.push_back(
                    result_row(goods.label, listings[l],
                               ranking::RunOutcome::failed(ranking::FailReason::no_goods_id)));
            } else if (report == nullptr || !report->checked ||
                       *goods.target >= report->outcomes.size()) {
                ResultRow row = result_row(goods.label, listings[l], {});
                row.status = ranking::RunStatus::failed;
                row.reason = not_checked_reason(report);
                rows.push_back(std::move(row));
            } else {
                rows.push_back(
                    result_row(goods.label, listings[l], report->outcomes[*goods.target]));
            }
        }
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
