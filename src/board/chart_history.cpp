#include "board/chart_history.h"

namespace board {

std::vector<ChartSeries> cell_chart(const history::Store& store, const std::string& board_utf8,
                                    const CellKey& cell, std::int64_t now_ms,
                                    std::size_t older_points) {
    const std::int64_t first_whole_day =
        (now_ms - std::int64_t{kChartWholeDays} * history::kDayMs) / history::kDayMs;
    history::CheckFilter filter;
    filter.board = board_utf8;
    filter.listing = cell.listing;
    filter.key = cell.key;
    filter.sort = cell.sort;
    std::vector<history::Check> checks;
    const auto keep = [&](const history::Check& check) {
        checks.push_back(check);
        return true;
    };
    // Counted by index first: past the limit the days take over, and the
    // older checks are never read.
    history::CheckFilter older = filter;
    older.until_ms = first_whole_day * history::kDayMs;
    older.limit = older_points + 1;
    const auto counted = store.count_matching(older);
    std::vector<ChartSeries> before;
    if (counted && static_cast<std::size_t>(counted.value()) > older_points) {
        const auto days =
            store.cell_days(board_utf8, cell.listing, cell.key, cell.sort, first_whole_day);
        if (days)
            before = day_series(days.value());
    } else {
        (void)store.for_each_check(older, keep);
    }
    filter.since_ms = first_whole_day * history::kDayMs;
    (void)store.for_each_check(filter, keep);
    return joined(std::move(before), chart_series(checks));
}

}  // namespace board
