#include "board/chart_series.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../history/history_fixture.h"
#include "board/chart_history.h"

namespace {

using board::PointKind;
using history::Check;
using history::GoodsResult;
using history::Outcome;
using history::Role;

Check check(std::int64_t t, Outcome outcome, std::vector<GoodsResult> goods) {
    Check c;
    c.time_ms = t;
    c.outcome = outcome;
    c.pages_read = outcome == Outcome::failed ? 0 : 1;
    c.reason = outcome == Outcome::failed ? "请求超时" : "";
    c.goods = std::move(goods);
    return c;
}

TEST(ChartSeries, OwnGoodsFirstAndAFailedCheckIsAFailedPointForEveryGoods) {
    const std::vector<Check> checks = {
        check(30, Outcome::failed, {{"9", Role::competitor, {}}, {"1", Role::own, {}}}),
        check(10, Outcome::found, {{"9", Role::competitor, 4}, {"1", Role::own, 12}}),
        check(20, Outcome::found, {{"9", Role::competitor, 5}, {"1", Role::own, {}}}),
    };
    const auto series = board::chart_series(checks);
    ASSERT_EQ(series.size(), 2u);
    EXPECT_EQ(series[0].goods_id, "1");
    EXPECT_TRUE(series[0].own);
    ASSERT_EQ(series[0].points.size(), 3u);
    EXPECT_EQ(series[0].points[0].rank, 12);  // oldest first
    EXPECT_EQ(series[0].points[1].kind, PointKind::not_in_top_1000);
    EXPECT_EQ(series[0].points[2].kind, PointKind::failed);
    EXPECT_EQ(series[0].points[2].reason, "请求超时");
    EXPECT_EQ(series[1].points[2].kind, PointKind::failed);  // never "not in 1000"
}

struct AxisCase {
    std::vector<int> ranks;
    int top;
    int bottom;
};

class Axis : public testing::TestWithParam<AxisCase> {};

TEST_P(Axis, IsZoomedToTheDataWithinOneToAThousand) {
    board::ChartSeries s{"1", true, {}};
    for (int r : GetParam().ranks)
        s.points.push_back({0, PointKind::rank, r, {}});
    s.points.push_back({0, PointKind::not_in_top_1000, 0, {}});
    const board::RankAxis axis = board::rank_axis({s});
    EXPECT_EQ(axis.top, GetParam().top);
    EXPECT_EQ(axis.bottom, GetParam().bottom);
}

INSTANTIATE_TEST_SUITE_P(Table, Axis,
                         testing::Values(AxisCase{{}, 1, 10}, AxisCase{{1, 3}, 1, 10},
                                         AxisCase{{300, 500}, 280, 520},
                                         AxisCase{{990, 1000}, 988, 1000}));

TEST(ChartSeries, RangesCountBackFromNow) {
    const std::int64_t now = 100LL * 24 * 3600 * 1000;
    board::ChartSeries s{"1",
                         true,
                         {{now - 2 * 3600 * 1000, PointKind::rank, 5, {}},
                          {now - 3LL * 24 * 3600 * 1000, PointKind::rank, 6, {}}}};
    EXPECT_EQ(
        board::since({s}, board::range_start_ms(board::ChartRange::day, now))[0].points.size(), 1u);
    EXPECT_EQ(
        board::since({s}, board::range_start_ms(board::ChartRange::week, now))[0].points.size(),
        2u);
    EXPECT_EQ(
        board::since({s}, board::range_start_ms(board::ChartRange::all, now))[0].points.size(), 2u);
}

}  // namespace

namespace {

// Forty days of a cell, a check every six hours (every fifth failed), drawn
// at noon of day 40: with a low limit on older checks, days 0-9 come from
// the summary, at most three points a day keeping each day's best and worst
// rank, and the last 30 days stay whole.
TEST(CellChart, BeyondAFewOlderChecksTheyAreDrawnFromTheDaysBestWorstAndLast) {
    history_test::TempDir dir;
    auto store = history::Store::open(dir.path() / "h.sqlite").value();
    for (int i = 0; i < 160; ++i) {
        const bool failed = i % 5 == 4;
        Check c = check(i * 6 * 3'600'000LL, failed ? Outcome::failed : Outcome::found,
                        {{"1", Role::own, {}}, {"9", Role::competitor, {}}});
        c.board = "A";
        c.sort = history::Sort::sales;
        if (!failed)
            c.goods = {{"1", Role::own, 1 + (i * 37) % 60, Outcome::found},
                       {"9", Role::competitor, {}, Outcome::not_in_top_1000}};
        ASSERT_TRUE(store.add_check(c).ok());
    }
    const auto chart = [&](std::size_t older_points) {
        return board::cell_chart(store, "A", {history::Listing::keyword, "", history::Sort::sales},
                                 40 * history::kDayMs + 43'200'000, older_points)
            .at(0);
    };
    const board::ChartSeries whole = chart(100);
    const board::ChartSeries summed = chart(20);
    EXPECT_EQ(summed.goods_id, "1");
    EXPECT_EQ(whole.points.size(), 160u);
    const auto on_day = [](const board::ChartSeries& s, int day) {
        std::vector<board::ChartPoint> points;
        std::copy_if(
            s.points.begin(), s.points.end(), std::back_inserter(points),
            [&](const board::ChartPoint& p) { return p.time_ms / history::kDayMs == day; });
        return points;
    };
    const auto ranks = [](const std::vector<board::ChartPoint>& points) {
        std::vector<int> out;
        for (const board::ChartPoint& p : points)
            if (p.kind == PointKind::rank)
                out.push_back(p.rank);
        return std::pair{*std::min_element(out.begin(), out.end()),
                         *std::max_element(out.begin(), out.end())};
    };
    for (int day = 0; day < 40; ++day) {
        EXPECT_LE(on_day(summed, day).size(), day < 10 ? 3u : 4u) << day;
        EXPECT_EQ(ranks(on_day(summed, day)), ranks(on_day(whole, day))) << day;
    }
    EXPECT_EQ(on_day(summed, 12).size(), 4u) << "the last 30 days whole";
    // Day 4 ended with a failure: its last point says why.
    EXPECT_EQ(on_day(summed, 4).back().kind, PointKind::failed);
    EXPECT_EQ(on_day(summed, 4).back().reason, "请求超时");
}

}  // namespace
