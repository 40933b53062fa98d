// The line above the grid for a run whose every move is known.
#include "board/run_summary.h"
#include "board/run_pace.h"

#include <gtest/gtest.h>

namespace {

using history::Check;
using history::Outcome;

Check read(std::int64_t t, std::optional<int> own) {
    Check c;
    c.time_ms = t;
    c.pages_read = 1;
    c.outcome = own ? Outcome::found : Outcome::not_in_top_1000;
    c.goods = {{"1", history::Role::own, own}};
    return c;
}

Check unread(std::int64_t t, Outcome outcome) {
    Check c;
    c.time_ms = t;
    c.outcome = outcome;
    c.goods = {{"1", history::Role::own, {}}};
    return c;
}

TEST(RunSummary, CountsEachCellsMoveTopRanksAndFailures) {
    const std::vector<board::CellData> cells = {
        {{read(1, 40), read(2, 37)}, {}},                             // rose
        {{read(1, 10), read(2, 15)}, {}},                             // fell, top 20
        {{read(1, 8), read(2, 8)}, {}},                               // held, top 10
        {{read(1, {}), read(2, 50)}, {}},                             // entered the first 1000
        {{read(1, 300), read(2, {})}, {}},                            // left them
        {{read(1, 37), unread(2, Outcome::failed)}, {}},              // failed
        {{read(1, 9), unread(2, Outcome::not_checked)}, {}},          // not checked
        {{read(2, 3)}, {}},                                           // first read: no move, top 10
        {{read(1, 12), unread(2, Outcome::failed), read(3, 6)}, {}},  // rose past a failure
    };
    std::vector<const board::CellData*> run;
    for (const auto& c : cells)
        run.push_back(&c);
    run.push_back(nullptr);  // a cell the stopped run did not reach

    board::RunSummary expected;
    expected.rose = 2;
    expected.fell = 1;
    expected.held = 1;
    expected.entered = 1;
    expected.left = 1;
    expected.top10 = 3;
    expected.top20 = 4;
    expected.failed = 1;
    expected.not_checked = 2;
    const board::RunSummary got = board::run_summary(run, {"1"});
    EXPECT_EQ(got, expected);
    EXPECT_EQ(board::summary_text(got),
              "上升 2 · 下降 1 · 持平 1 · 新进千名 1 · 跌出千名 1 · 本店前10名 3 个、前20名 4 个 · "
              "失败 1 · 未检查 2");
}

}  // namespace

namespace {

// The pace and the time left follow the last half minute: a run that slows
// down says so, a pause gives no estimate rather than a wrong one.
TEST(MeasuredPace, FollowsTheRecentPaceAndEstimatesTheTimeLeft) {
    board::MeasuredPace pace;
    EXPECT_FALSE(pace.remaining_ms(100).has_value());
    pace.sample(0, 0, 0);
    pace.sample(10'000, 20, 25);  // 2 checks, 2.5 pages a second
    ASSERT_TRUE(pace.pages_per_second().has_value());
    EXPECT_DOUBLE_EQ(*pace.pages_per_second(), 2.5);
    EXPECT_EQ(pace.remaining_ms(100), 40'000);
    // Slower for 40 s: the window forgets the brisk start.
    for (int s = 20; s <= 50; s += 10)
        pace.sample(s * 1000, 20 + static_cast<std::size_t>(s - 10) / 10, 25 + (s - 10) / 10);
    EXPECT_NEAR(*pace.pages_per_second(), 0.1, 1e-9);
    EXPECT_EQ(pace.remaining_ms(100), (100 - 24) * 10'000);
    for (int s = 60; s <= 100; s += 10)
        pace.sample(s * 1000, 24, 29);  // paused: nothing finishes
    EXPECT_FALSE(pace.remaining_ms(100).has_value());
    EXPECT_EQ(board::remaining_text(40'000), "剩余约 40 秒");
    EXPECT_EQ(board::remaining_text(760'000), "剩余约 13 分钟");
    EXPECT_EQ(board::remaining_text(3'900'000), "剩余约 1 小时 5 分钟");
}

}  // namespace
