#pragma once
// A board's daily report from its history: for each cell and own goods item
// the rank now, 24 hours ago and the best of the last 7 days, as the grid
// reads them (a failed check is never taken for 千名外; a cell whose latest
// check failed says 失败).
#include <cstdint>
#include <string>
#include <vector>

#include "board/board.h"
#include "history/store.h"
#include "notify/board_notifier.h"
#include "notify/channels_file.h"
#include "notify/daily_report.h"

namespace notify {

inline constexpr std::string_view kDailyReportKind = "daily_report";

// Rows in the board's plan order, cells named with the board's category and
// tab names; a cell with no check in the last 7 days has no row. With
// several own goods items each row names its goods.
std::vector<ReportRow> report_rows(const history::Store& store, const board::Board& board,
                                   std::int64_t now_ms);

// The report's text for the board now.
std::string report_text(const history::Store& store, const board::Board& board,
                        std::int64_t now_ms);

// Whether a report of the board was already sent (or tried) on the local
// day of now_ms.
bool report_sent_today(const history::Store& store, const std::string& board_utf8,
                       std::int64_t now_ms);

// Keeps the report as a notice of its own (so it goes out once a day, and
// its deliveries are kept) and sends it to the board's channels: the robots
// get as many whole lines as they take, e-mail the whole report. The text
// sent; empty (and nothing kept or sent) when the board chose no channel or
// nothing was checked in the last 7 days.
std::string send_daily_report(const NotifierConfig& config, history::Store& store,
                              const board::Board& board, std::int64_t now_ms);

}  // namespace notify
