#include "board/chart_series.h"

#include <gtest/gtest.h>

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
