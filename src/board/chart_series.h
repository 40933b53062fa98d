#pragma once
// What the rank chart of one cell (a listing under one sort order) draws:
// one series per goods item over time, and the rank axis zoomed to the data.
// Qt-free, so the window only paints what this decides.
#include <cstdint>
#include <string>
#include <vector>

#include "history/records.h"

namespace board {

enum class PointKind { rank, not_in_top_1000, failed };

struct ChartPoint {
    std::int64_t time_ms = 0;
    PointKind kind = PointKind::failed;
    int rank = 0;        // PointKind::rank only
    std::string reason;  // PointKind::failed only (UTF-8)
};

struct ChartSeries {
    std::string goods_id;
    bool own = true;
    std::vector<ChartPoint> points;  // oldest first
};

// One series per goods item of the checks (own goods first, then
// competitors, each in the order they first appear), every check a point.
// A check that was not read is a failed point for every goods item.
std::vector<ChartSeries> chart_series(const std::vector<history::Check>& checks);

// The points the per-day summary gives (history::CellDay): each day's best,
// worst read and last point, in time order, each once; a day whose every
// check failed gives its last point only. Series as chart_series orders them.
std::vector<ChartSeries> day_series(const std::vector<history::CellDay>& days);

// `older` followed by `newer`, goods by goods: own goods first, then
// competitors, each in the order they first appear.
std::vector<ChartSeries> joined(std::vector<ChartSeries> older,
                                const std::vector<ChartSeries>& newer);

// A long series keeps, before `whole_from_ms`, for each local day its best
// point and its last one, so a year draws as fast as a week and no drop of a
// day is hidden; later points and series of at most `max_points` stay whole.
std::vector<ChartSeries> thinned(std::vector<ChartSeries> series, std::size_t max_points,
                                 std::int64_t whole_from_ms, std::int64_t utc_offset_ms);

// The ranks shown: rank 1 at the top; the axis spans the ranks the series
// hold with a little room around them, never past 1..1000. Without any rank
// it spans 1..10.
struct RankAxis {
    int top = 1;
    int bottom = 10;
};
RankAxis rank_axis(const std::vector<ChartSeries>& series);

// The ranges the chart offers, and the first time each one shows.
enum class ChartRange { day, week, month, all };
std::int64_t range_start_ms(ChartRange range, std::int64_t now_ms);

// The series with only the points at or after `start_ms`.
std::vector<ChartSeries> since(const std::vector<ChartSeries>& series, std::int64_t start_ms);

}  // namespace board
