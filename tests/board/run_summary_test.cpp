// The line above the grid for a run whose every move is known.
#include "board/run_summary.h"

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
