#pragma once
// What the rank chart of one cell reads from the history: every check of
// the last month; before that every check while they are few, else the
// per-day summary (a day's best, worst and last), so a year opens as fast
// as a month.
#include <cstdint>
#include <string>
#include <vector>

#include "board/chart_series.h"
#include "board/check_record.h"
#include "history/store.h"

namespace board {

// Older checks than this many are drawn from the per-day summary.
inline constexpr std::size_t kChartOlderPoints = 2000;
// Days before now whose every check is drawn (from the start of that UTC day).
inline constexpr int kChartWholeDays = 30;

// The cell's series up to now_ms; a read that fails leaves what was read.
std::vector<ChartSeries> cell_chart(const history::Store& store, const std::string& board_utf8,
                                    const CellKey& cell, std::int64_t now_ms,
                                    std::size_t older_points = kChartOlderPoints);

}  // namespace board
