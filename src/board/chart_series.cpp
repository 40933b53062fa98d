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
            p.reason = goods.reason.empty() ? check.reason : goods.reason;
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

namespace {

ChartPoint point_at(std::int64_t time_ms, int place, const std::string& reason) {
    if (place <= 1000)
        return {time_ms, PointKind::rank, place, {}};
    if (place == history::kPlaceNotInTop1000)
        return {time_ms, PointKind::not_in_top_1000, 0, {}};
    return {time_ms, PointKind::failed, 0, reason};
}

std::vector<ChartPoint> day_points(const history::CellDay& day) {
    std::vector<ChartPoint> points;
    if (day.best_place != history::kPlaceNotRead)
        points.push_back(point_at(day.best_ms, day.best_place, {}));
    if (day.worst_place)
        points.push_back(point_at(day.worst_ms, *day.worst_place, {}));
    points.push_back(point_at(day.last_ms, day.last_place, day.last_reason));
    std::stable_sort(points.begin(), points.end(), [](const ChartPoint& a, const ChartPoint& b) {
        return a.time_ms < b.time_ms;
    });
    // The same point may be the day's best, worst and last at once.
    points.erase(std::unique(points.begin(), points.end(),
                             [](const ChartPoint& a, const ChartPoint& b) {
                                 return a.time_ms == b.time_ms && a.kind == b.kind &&
                                        a.rank == b.rank;
                             }),
                 points.end());
    return points;
}

// Own goods first; the rest as they first appear in time.
void order_series(std::vector<ChartSeries>& all) {
    std::stable_sort(all.begin(), all.end(), [](const ChartSeries& a, const ChartSeries& b) {
        const auto first = [](const ChartSeries& s) {
            return s.points.empty() ? std::int64_t{0} : s.points.front().time_ms;
        };
        return first(a) < first(b);
    });
    std::stable_partition(all.begin(), all.end(), [](const ChartSeries& s) { return s.own; });
}

}  // namespace

std::vector<ChartSeries> day_series(const std::vector<history::CellDay>& days) {
    std::vector<const history::CellDay*> ordered;
    for (const history::CellDay& day : days)
        ordered.push_back(&day);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto* a, const auto* b) { return a->day < b->day; });
    std::vector<ChartSeries> all;
    for (const history::CellDay* day : ordered) {
        history::GoodsResult goods;
        goods.goods_id = day->goods_id;
        goods.role = day->role;
        ChartSeries& series = series_for(all, goods);
        series.own = series.own || day->role == history::Role::own;
        for (ChartPoint& point : day_points(*day))
            series.points.push_back(std::move(point));
    }
    order_series(all);
    return all;
}

std::vector<ChartSeries> joined(std::vector<ChartSeries> older,
                                const std::vector<ChartSeries>& newer) {
    for (const ChartSeries& later : newer) {
        history::GoodsResult goods;
        goods.goods_id = later.goods_id;
        goods.role = later.own ? history::Role::own : history::Role::competitor;
        ChartSeries& series = series_for(older, goods);
        series.own = series.own || later.own;
        series.points.insert(series.points.end(), later.points.begin(), later.points.end());
    }
    order_series(older);
    return older;
}

namespace {

// The local day of a time, as a number that changes at local midnight.
std::int64_t local_day(std::int64_t ms, std::int64_t offset_ms) {
    constexpr std::int64_t kDay = 24LL * 3600 * 1000;
    const std::int64_t local = ms + offset_ms;
    return local >= 0 ? local / kDay : (local - kDay + 1) / kDay;
}

bool better(const ChartPoint& a, const ChartPoint& b) {
    const auto weight = [](const ChartPoint& p) {
        return p.kind == PointKind::rank ? p.rank
                                         : (p.kind == PointKind::not_in_top_1000 ? 1001 : 1002);
    };
    return weight(a) < weight(b);
}

std::vector<ChartPoint> thin_points(const std::vector<ChartPoint>& points,
                                    std::int64_t whole_from_ms, std::int64_t offset_ms) {
    std::vector<ChartPoint> out;
    for (std::size_t i = 0; i < points.size();) {
        if (points[i].time_ms >= whole_from_ms) {
            out.insert(out.end(), points.begin() + static_cast<std::ptrdiff_t>(i), points.end());
            break;
        }
        const std::int64_t day = local_day(points[i].time_ms, offset_ms);
        std::size_t best = i;
        std::size_t j = i;
        for (; j < points.size() && points[j].time_ms < whole_from_ms &&
               local_day(points[j].time_ms, offset_ms) == day;
             ++j) {
            if (better(points[j], points[best]))
                best = j;
        }
        const std::size_t last = j - 1;
        out.push_back(points[best]);
        if (best != last)
            out.push_back(points[last]);
        i = j;
    }
    return out;
}

}  // namespace

std::vector<ChartSeries> thinned(std::vector<ChartSeries> series, std::size_t max_points,
                                 std::int64_t whole_from_ms, std::int64_t utc_offset_ms) {
    for (ChartSeries& s : series) {
        if (s.points.size() > max_points)
            s.points = thin_points(s.points, whole_from_ms, utc_offset_ms);
    }
    return series;
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
