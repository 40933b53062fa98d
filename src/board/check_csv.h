#pragma once
// Checks as CSV for spreadsheets (UTF-8, byte-order mark, CR LF), one row per
// goods item of each check (a check without goods gives one row with empty
// goods columns). Codes for programs, the board's words beside them for
// people:
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

// `listings`: each board's category and tab names (none known: "类目 14").
std::string checks_csv(const std::vector<history::Check>& checks, const NamesById& names,
                       bool byte_order_mark = true, const ListingNamesByBoard& listings = {});

// The same bytes as checks_csv(store.checks(filter), ...), written check by
// check in constant memory. A failure of the stream is a storage error.
history::Status write_checks_csv(const history::Store& store, const history::CheckFilter& filter,
                                 const NamesById& names, bool byte_order_mark, std::ostream& out,
                                 const ListingNamesByBoard& listings = {});

}  // namespace board
