#pragma once
// The window's exports for spreadsheets (明细, 导出历史, 导出通知) in one
// style: UTF-8 with a byte-order mark, CR LF, Chinese column names, names
// beside every ID, local times with their offset, and text that never runs
// as a formula (history::spreadsheet_safe). Every file begins with the same
// columns:
//   时间      "2026-12-09 14:48:03 +08:00"
//   看板
//   列表      the keyword, "类目 休闲零食", "爱逛街 今日推荐", "新品"
//   列表ID    the category's or tab's id (empty for keywords and 新品)
//   排序      "价格从低到高"; empty for a listing without one
//   商品ID, 商品名称, 店铺
// then 明细 and 导出历史: 本店/竞品, 结果 (第37名/千名外/失败/未检查),
// 名次 (found only), 原因, 已读页数, HTTP状态 ("200;503");
// and 导出通知 (board/notice_list.h): 变动, 之前, 之后, 说明.
// korvel-check's CSV keeps its English columns for programs (check_csv.h).
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/goods_names.h"
#include "history/records.h"
#include "history/result.h"
#include "history/store.h"

namespace board {

// The names the exports print beside the IDs (UTF-8).
struct SheetNames {
    NamesById goods;
    ListingNames listings;
};

SheetNames sheet_names(const Board& board);

std::string sheet_checks_csv(const std::vector<history::Check>& checks, const SheetNames& names);

// The same bytes as sheet_checks_csv(store.checks(filter), ...), written
// check by check in constant memory. A failure of the stream is a storage error.
history::Status write_sheet_checks_csv(const history::Store& store,
                                       const history::CheckFilter& filter, const SheetNames& names,
                                       std::ostream& out);

// The byte-order mark and the header line: the common columns, then `more`.
std::string sheet_head(const std::vector<std::string>& more);

// The common columns of a row, made fields (history::csv_line joins them).
struct SheetLead {
    std::int64_t time_ms = 0;
    std::string_view board;
    history::Listing listing = history::Listing::keyword;
    std::string_view key;
    history::Sort sort = history::Sort::none;
    std::string_view goods_id;
};
std::vector<std::string> sheet_lead(const SheetLead& lead, const SheetNames& names);

}  // namespace board
