#pragma once
// Where the rank chart puts its marks: round rank ticks, time labels at
// steps a reader counts in (hours, days) in local time, and the lanes that
// keep two goods at the same rank both in sight. Qt-free.
#include <cstdint>
#include <string>
#include <vector>

#include "board/chart_series.h"

namespace board {

// The ranks labelled on the axis: multiples of the smallest of 1, 2, 5, 10,
// 20, 50, 100, 200, 500 that leaves at most `max_ticks` of them, with rank 1
// added at the top when the axis starts there and the step is 5 or more.
std::vector<int> rank_ticks(RankAxis axis, int max_ticks);

struct TimeTick {
    std::int64_t time_ms = 0;
    std::string text;  // "14:30", or "12月9日" at a local midnight and for steps of days
};

// The labelled times between `first_ms` and `last_ms`: the smallest step of
// 1, 5, 10, 15 or 30 minutes, 1, 2, 3, 6 or 12 hours or 1, 2, 7, 14, 30, 60, 90
// or 180 days that leaves at most `max_ticks`, at whole local minutes, hours
// and midnights (`utc_offset_ms` is the local clock's offset). A span shorter
// than a minute gets one label at its start with its day and time.
std::vector<TimeTick> time_ticks(std::int64_t first_ms, std::int64_t last_ms,
                                 std::int64_t utc_offset_ms, int max_ticks);

// For every series and point, its lane: 0 for the first series drawn at that
// time and place, 1, 2... for each further one at the same time and rank (or
// in the same band), so the chart can shift it beside the others.
std::vector<std::vector<int>> lanes(const std::vector<ChartSeries>& series);

// The pixels a lane is shifted by: 0, +3, -3, +6, -6...
int lane_offset(int lane);

}  // namespace board
