#pragma once
// Checks as CSV for programs (korvel-check --history --format csv: UTF-8,
// CR LF, a byte-order mark when asked), one row per goods item of each check
// (a check without goods gives one row with empty goods columns). English
// column names and codes for programs, the board's words beside them for
// people (the window's exports, board/sheet_csv.h, have Chinese headers):
//   time          local time with its offset, "2026-12-09 14:48:03 +08:00"
//   board, listing (keyword/category/tab/new), key
//   listing_text                "辣条", "类目 休闲零食", "爱逛街 今日推荐", "新品":
//                               the listing as its board names it
//   sort, sort_text             "price-asc", "价格从低到高"; empty without a sort
//   goods_id, goods_name, shop_name
//   role, role_text             "own"/"competitor", "本店"/"竞品"
//   status, status_text         "found"/"not_in_top_1000"/"failed"/"not_checked",
//                               "第37名"/"千名外"/"失败"/"未检查"
//   rank (found only), reason, pages, http_statuses ("200;503")
// A goods item with an outcome of its own shows its own status and reason.
// Text fields that a spreadsheet would take for a formula begin with an
// apostrophe (history::spreadsheet_safe).
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "board/goods_names.h"
#include "history/records.h"
#include "history/result.h"
#include "history/store.h"

namespace board {

// "第37名", "千名外", "失败", "未检查".
std::string status_word(history::Outcome status, std::optional<int> rank);

// One goods item's part of a check, as the exports print it: its own outcome
// and reason where it has one, else the check's.
struct GoodsOutcome {
    std::string goods_id;
    std::optional<history::Role> role;
    history::Outcome status = history::Outcome::not_checked;
    std::optional<int> rank;
    std::string reason;
};

// The goods items of a check; a check without goods gives one without an id.
std::vector<GoodsOutcome> goods_outcomes(const history::Check& check);

// `head`, then the rows `rows` appends for each check of the filter, check by
// check in constant memory. A failure of the stream is a storage error.
history::Status stream_checks_csv(
    const history::Store& store, const history::CheckFilter& filter, std::string_view head,
    const std::function<void(std::string& rows, const history::Check& check)>& rows,
    std::ostream& out);

// `listings`: each board's category and tab names (none known: "类目 14").
std::string checks_csv(const std::vector<history::Check>& checks, const NamesById& names,
                       bool byte_order_mark = true, const ListingNamesByBoard& listings = {});

// The same bytes as checks_csv(store.checks(filter), ...), written check by
// check in constant memory. A failure of the stream is a storage error.
history::Status write_checks_csv(const history::Store& store, const history::CheckFilter& filter,
                                 const NamesById& names, bool byte_order_mark, std::ostream& out,
                                 const ListingNamesByBoard& listings = {});

}  // namespace board
