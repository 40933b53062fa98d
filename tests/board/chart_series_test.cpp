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

// Forty days of a cell, a check every six hours: the own goods wander
// between 1 and 60, a competitor is never found, every fifth check fails.
class CellChart : public history_test::HistoryTest {
  protected:
    void SetUp() override {
        auto store = open_store();
        for (int i = 0; i < 160; ++i) {
            Check c = check(i * 6 * 3'600'000LL, i % 5 == 4 ? Outcome::failed : Outcome::found,
                            {{"1", Role::own, {}}, {"9", Role::competitor, {}}});
            c.board = "A";
            c.key = "辣条";
            c.sort = history::Sort::sales;
            if (c.outcome == Outcome::found) {
                c.goods[0].rank = 1 + (i * 37) % 60;
                c.goods[0].status = Outcome::found;
                c.goods[1].status = Outcome::not_in_top_1000;
            }
            ASSERT_TRUE(store.add_check(c).ok());
        }
    }

    std::vector<board::ChartSeries> chart(std::size_t older_points) {
        const board::CellKey cell{history::Listing::keyword, "辣条", history::Sort::sales};
        // Day 40, noon: the whole days from day 10 on.
        return board::cell_chart(open_store(), "A", cell, 40 * history::kDayMs + 43'200'000,
                                 older_points);
    }
};

TEST_F(CellChart, BeyondAFewOlderChecksTheyAreDrawnFromTheDaysBestWorstAndLast) {
    const auto whole = chart(100);
    const auto summed = chart(20);
    ASSERT_EQ(whole.size(), 2u);
    ASSERT_EQ(summed.size(), 2u);
    EXPECT_EQ(whole[0].goods_id, "1");
    EXPECT_EQ(summed[0].goods_id, "1");
    EXPECT_TRUE(summed[0].own);
    EXPECT_FALSE(summed[1].own);
    EXPECT_EQ(whole[0].points.size(), 160u);
    const std::int64_t from = 10 * history::kDayMs;
    const auto count_before = [&](const board::ChartSeries& s) {
        return std::count_if(s.points.begin(), s.points.end(),
                             [&](const board::ChartPoint& p) { return p.time_ms < from; });
    };
    EXPECT_EQ(count_before(whole[0]), 40);
    EXPECT_LE(count_before(summed[0]), 30) << "at most three points a day";
    EXPECT_EQ(summed[0].points.size() - count_before(summed[0]), 120u) << "the last 30 days whole";
    // Each old day keeps its best and worst rank.
    for (int day = 0; day < 10; ++day) {
        std::vector<int> all;
        std::vector<int> kept;
        for (const auto* s : {&whole[0], &summed[0]}) {
            for (const board::ChartPoint& p : s->points) {
                if (p.time_ms / history::kDayMs == day && p.kind == PointKind::rank)
                    (s == &whole[0] ? all : kept).push_back(p.rank);
            }
        }
        ASSERT_FALSE(kept.empty()) << day;
        EXPECT_EQ(*std::min_element(kept.begin(), kept.end()),
                  *std::min_element(all.begin(), all.end()))
            << day;
        EXPECT_EQ(*std::max_element(kept.begin(), kept.end()),
                  *std::max_element(all.begin(), all.end()))
            << day;
    }
    // The day's last check failed: its point says why.
    const auto last_of_day_4 =
        std::find_if(summed[0].points.rbegin(), summed[0].points.rend(),
                     [](const board::ChartPoint& p) { return p.time_ms / history::kDayMs == 4; });
    ASSERT_NE(last_of_day_4, summed[0].points.rend());
    EXPECT_EQ(last_of_day_4->kind, PointKind::failed);
    EXPECT_EQ(last_of_day_4->reason, "请求超时");
}

}  // namespace
