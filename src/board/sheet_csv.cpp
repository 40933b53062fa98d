#include "board/sheet_csv.h"

#include "board/check_csv.h"
#include "board/words.h"
#include "history/csv_export.h"
#include "history/local_time.h"

namespace board {

namespace {

using history::csv_field;
using history::csv_text;

void append_check(std::string& out, const history::Check& check, const SheetNames& names) {
    for (const GoodsOutcome& g : goods_outcomes(check)) {
        std::vector<std::string> fields = sheet_lead(
            {check.time_ms, check.board, check.listing, check.key, check.sort, g.goods_id}, names);
        const bool found = g.status == history::Outcome::found && g.rank;
        const std::string_view role = !g.role                         ? std::string_view()
                                      : *g.role == history::Role::own ? kOwnWord
                                                                      : kCompetitorWord;
        fields.insert(fields.end(), {csv_field(role), csv_field(status_word(g.status, g.rank)),
                                     found ? std::to_string(*g.rank) : std::string(),
                                     csv_text(g.reason), std::to_string(check.pages_read),
                                     csv_field(history::join_statuses(check.http_statuses))});
        out += history::csv_line(fields);
    }
}

const std::vector<std::string> kCheckColumns = {"本店/竞品", "结果",     "名次",
                                                "原因",      "已读页数", "HTTP状态"};

}  // namespace

SheetNames sheet_names(const Board& board) {
    return {goods_names(board), listing_names(board)};
}

std::string sheet_head(const std::vector<std::string>& more) {
    std::vector<std::string> columns = {"时间", "看板",   "列表",     "列表ID",
                                        "排序", "商品ID", "商品名称", "店铺"};
    columns.insert(columns.end(), more.begin(), more.end());
    return std::string(history::kByteOrderMark) + history::csv_line(columns);
}

std::vector<std::string> sheet_lead(const SheetLead& lead, const SheetNames& names) {
    static const GoodsNames kNone;
    const auto named = names.goods.find(std::string(lead.goods_id));
    const GoodsNames& goods =
        lead.goods_id.empty() || named == names.goods.end() ? kNone : named->second;
    const bool has_id =
        lead.listing == history::Listing::category || lead.listing == history::Listing::tab;
    return {csv_field(history::local_time_with_offset(lead.time_ms)),
            csv_text(lead.board),
            csv_text(listing_label(lead.listing, lead.key, names.listings)),
            has_id ? csv_text(lead.key) : std::string(),
            csv_field(sort_word(lead.sort)),
            csv_text(lead.goods_id),
            csv_text(goods.name),
            csv_text(goods.shop)};
}

std::string sheet_checks_csv(const std::vector<history::Check>& checks, const SheetNames& names) {
    std::string out = sheet_head(kCheckColumns);
    for (const history::Check& check : checks)
        append_check(out, check, names);
    return out;
}

history::Status write_sheet_checks_csv(const history::Store& store,
                                       const history::CheckFilter& filter, const SheetNames& names,
                                       std::ostream& out) {
    return stream_checks_csv(
        store, filter, sheet_head(kCheckColumns),
        [&](std::string& rows, const history::Check& check) { append_check(rows, check, names); },
        out);
}

}  // namespace board
