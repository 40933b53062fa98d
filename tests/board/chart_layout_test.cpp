// What the rank chart labels: round rank ticks, local time labels at readable
// steps, lanes for goods at the same rank, and the title of a known cell.
#include <gtest/gtest.h>

#include "board/chart_labels.h"
#include "board/chart_layout.h"
#include "board/grid.h"
#include "text/codepage.h"

namespace {

using board::ChartPoint;
using board::PointKind;

constexpr std::int64_t kHour = 3600LL * 1000;
constexpr std::int64_t kDay = 24 * kHour;
// 2026-12-09 00:00 UTC.
constexpr std::int64_t kDec9 = 20796 * kDay;

TEST(RankTicks, AreRoundNumbersForEveryZoom) {
    const struct {
        board::RankAxis axis;
        int max_ticks;
        std::vector<int> ticks;
    } cases[] = {
        {{1, 10}, 10, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        {{1, 10}, 5, {2, 4, 6, 8, 10}},
        {{1, 48}, 6, {1, 10, 20, 30, 40}},
        {{18, 62}, 5, {20, 30, 40, 50, 60}},
        {{1, 1000}, 6, {1, 200, 400, 600, 800, 1000}},
        {{1, 1000}, 3, {1, 500, 1000}},
        {{120, 340}, 8, {150, 200, 250, 300}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(board::rank_ticks(c.axis, c.max_ticks), c.ticks)
            << c.axis.top << ".." << c.axis.bottom << " max " << c.max_ticks;
    }
}

TEST(TimeTicks, FallOnWholeLocalHoursAndMidnights) {
    const std::int64_t east8 = 8 * kHour;
    // 18:20 to 07:50 the next morning in UTC+8, room for 8 labels: every 2 hours.
    const auto night = board::time_ticks(kDec9 - east8 + 18 * kHour + 20 * 60000,
                                         kDec9 - east8 + 31 * kHour + 50 * 60000, east8, 8);
    std::vector<std::string> texts;
    for (const auto& t : night) {
        texts.push_back(t.text);
        EXPECT_EQ((t.time_ms + east8) % (2 * kHour), 0) << t.text;
    }
    EXPECT_EQ(texts,
              (std::vector<std::string>{"20:00", "22:00", "12月10日", "02:00", "04:00", "06:00"}));
    // Three weeks with room for 6 labels: every 7 days, each at a local midnight.
    const auto weeks = board::time_ticks(kDec9 - east8, kDec9 - east8 + 21 * kDay, east8, 6);
    ASSERT_EQ(weeks.size(), 3u);
    for (const auto& t : weeks) {
        EXPECT_EQ((t.time_ms + east8) % kDay, 0) << t.text;
        EXPECT_NE(t.text.find("月"), std::string::npos) << t.text;
    }
    EXPECT_EQ(weeks[1].time_ms - weeks[0].time_ms, 7 * kDay);

    // Runs minutes apart: whole minutes; a single check: its day and time.
    const std::int64_t at = kDec9 - east8 + 13 * kHour + 30 * 60000 + 39000;  // 13:30:39
    std::vector<std::string> minutes;
    for (const auto& t : board::time_ticks(at, at + 190000, east8, 7))
        minutes.push_back(t.text);
    EXPECT_EQ(minutes, (std::vector<std::string>{"13:31", "13:32", "13:33"}));
    const auto single = board::time_ticks(at, at, east8, 7);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].text, "12月9日 13:30");
}

TEST(Lanes, SecondGoodsAtTheSameRankGetsItsOwnLane) {
    const std::vector<board::ChartSeries> series = {
        {"1", true, {{0, PointKind::rank, 5, {}}, {kHour, PointKind::rank, 6, {}}}},
        {"2", false, {{0, PointKind::rank, 5, {}}, {kHour, PointKind::rank, 7, {}}}},
        {"3", false, {{0, PointKind::rank, 5, {}}, {kHour, PointKind::not_in_top_1000, 0, {}}}},
    };
    EXPECT_EQ(board::lanes(series), (std::vector<std::vector<int>>{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_NE(board::lane_offset(1), 0);
    EXPECT_NE(board::lane_offset(1), board::lane_offset(2));
}

TEST(ChartTitle, NamesGoodsListingSortAndRange) {
    const std::vector<board::ChartSeries> series = {{"5550001", false, {}}, {"4033138", true, {}}};
    board::ChartLabels labels{"辣条", "销量", {{"4033138", "辣条大礼包"}}};
    EXPECT_EQ(board::chart_title(series, labels, board::ChartRange::week),
              "本店 辣条大礼包 · 辣条 · 销量 · 7 天");
    EXPECT_EQ(board::series_label(series[0], labels), "竞品 5550001");
    // A board's cell: its keyword and sort, the names the board keeps (GBK).
    board::Board b;
    b.own = {{"4033138", {}, text::utf8_to_gbk("辣条大礼包"), {}}};
    b.competitors = {{"5550001", {}, {}, {}}};
    EXPECT_EQ(board::chart_title(
                  series,
                  board::chart_labels(b, {history::Listing::keyword, "辣条", history::Sort::sales}),
                  board::ChartRange::week),
              "本店 辣条大礼包 · 辣条 · 销量 · 7 天");
    EXPECT_EQ(
        board::chart_labels(b, {history::Listing::category, "14", history::Sort::none}).listing,
        "类目 14");
    // A category or tab the board knows by name is called by it.
    b.category_ids = {"14"};
    b.category_names = {{"14", text::utf8_to_gbk("休闲零食")}};
    b.tab_id = "3";
    b.tab_name = text::utf8_to_gbk("今日推荐");
    for (const auto& [cell, label] :
         {std::pair{board::CellKey{history::Listing::category, "14", history::Sort::none},
                    "类目 休闲零食"},
          {board::CellKey{history::Listing::tab, "3", history::Sort::none}, "爱逛街 今日推荐"}}) {
        EXPECT_EQ(board::chart_labels(b, cell).listing, label);
        EXPECT_EQ(board::grid_layout(b).rows.at(cell.listing == history::Listing::tab ? 1 : 0),
                  label);
    }
    // Without names or a sort: the goods ID and what is known.
    EXPECT_EQ(board::chart_title(series, {"零食", "", {}}, board::ChartRange::all),
              "本店 4033138 · 零食 · 全部");
}

}  // namespace
