#include "board/chart_series.h"

#include <algorithm>
#include <limits>

namespace board {

namespace {

ChartPoint point_of(const history::Check& check, const history::GoodsResult& goods) {
    ChartPoint p;
    p.time_ms = check.time_ms;
    switch (history::status_of(check, goods)) {
        case history::Outcome::found:
            p.kind = PointKind::rank;
            p.rank = goods.rank.value_or(0);
            break;
        case history::Outcome::not_in_top_1000:
            p.kind = PointKind::not_in_top_1000;
            break;
        case history::Outcome::failed:
        case history::Outcome::not_checked:
            p.kind = PointKind::failed;
            p.reason = check.reason;
            break;
    }
    return p;
}

ChartSeries& series_for(std::vector<ChartSeries>& all, const history::GoodsResult& goods) {
    const auto it = std::find_if(
        all.begin(), all.end(), [&](const ChartSeries& s) { return s.goods_id == goods.goods_id; });
    if (it != all.end())
        return *it;
    all.push_back({goods.goods_id, goods.role == history::Role::own, {}});
    return all.back();
}

}  // namespace

std::vector<ChartSeries> chart_series(const std::vector<history::Check>& checks) {
    std::vector<const history::Check*> ordered;
    for (const history::Check& c : checks)
        ordered.push_back(&c);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto* a, const auto* b) { return a->time_ms < b->time_ms; });
    std::vector<ChartSeries> all;
    for (const history::Check* check : ordered) {
        for (const history::GoodsResult& goods : check->goods)
            series_for(all, goods).points.push_back(point_of(*check, goods));
    }
    std::stable_partition(all.begin(), all.end(), [](const ChartSeries& s) { return s.own; });
    return all;
}

RankAxis rank_axis(const std::vector<ChartSeries>& series) {
    int best = std::numeric_limits<int>::max();
    int worst = 0;
    for (const ChartSeries& s : series) {
        for (const ChartPoint& p : s.points) {
            if (p.kind != PointKind::rank)
                continue;
            best = std::min(best, p.rank);
            worst = std::max(worst, p.rank);
        }
    }
    if (worst == 0)
        return {};
    // A tenth of the span (at least 2 places) above and below the data.
    const int room = std::max(2, (worst - best) / 10);
    return {std::max(1, best - room), std::min(1000, std::max(worst + room, best + 9))};
}

std::int64_t range_start_ms(ChartRange range, std::int64_t now_ms) {
    constexpr std::int64_t kDay = 24LL * 3600 * 1000;
    switch (range) {
        case ChartRange::day:
            return now_ms - kDay;
        case ChartRange::week:
            return now_ms - 7 * kDay;
        case ChartRange::month:
            return now_ms - 30 * kDay;
        case ChartRange::all:
            break;
    }
    return std::numeric_limits<std::int64_t>::min();
}

std::vector<ChartSeries> since(const std::vector<ChartSeries>& series, std::int64_t start_ms) {
    std::vector<ChartSeries> out = series;
    for (ChartSeries& s : out) {
        std::erase_if(s.points, [start_ms](const ChartPoint& p) { return p.time_ms < start_ms; });
    }
    return out;
}

}  // namespace board
