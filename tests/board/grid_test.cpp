// What a grid cell shows from its checks.
#include "board/grid.h"

#include <gtest/gtest.h>

namespace {

using history::Check;
using history::Outcome;
using history::Role;

Check read(std::int64_t t, std::optional<int> own, std::optional<int> rival) {
    Check c;
    c.time_ms = t;
    c.pages_read = 1;
    c.outcome = own || rival ? Outcome::found : Outcome::not_in_top_1000;
    c.goods = {{"1", Role::own, own}, {"2", Role::competitor, rival}};
    return c;
}

Check failed(std::int64_t t) {
    Check c;
    c.time_ms = t;
    c.outcome = Outcome::failed;
    c.reason = "请求超时";
    c.goods = {{"1", Role::own, {}}, {"2", Role::competitor, {}}};
    return c;
}

// The own goods read at `own`; the competitor's page 2 failed.
Check own_only(std::int64_t t, int own) {
    Check c = read(t, own, {});
    c.goods[0].status = Outcome::found;
    c.goods[1].status = Outcome::failed;
    c.goods[1].reason = "请求超时";
    return c;
}

struct CellCase {
    std::string name;
    std::vector<Check> checks;
    board::GridMode mode;
    std::string text_start;
    bool stale;
};

class Cell : public testing::TestWithParam<CellCase> {};

TEST_P(Cell, ShowsTheLatestReadValueOrTheFailureBesideTheLastGoodOne) {
    const board::CellView view =
        board::cell_view({GetParam().checks, {}}, "1", "2", GetParam().mode);
    EXPECT_TRUE(view.text.starts_with(GetParam().text_start)) << view.text;
    EXPECT_EQ(view.stale, GetParam().stale);
    // A failure is never shown as "not among the first 1000".
    if (view.text.starts_with("失败")) {
        EXPECT_NE(view.tooltip.find("请求超时"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cell,
    testing::Values(
        CellCase{"Moved",
                 {read(1, 40, 5), read(2, 37, 6)},
                 board::GridMode::own,
                 "第37名 ▲3（最好第37名）",
                 false},
        CellCase{"Outside", {read(1, {}, 5)}, board::GridMode::own, "千名外", false},
        CellCase{"FailedKeepsLastGood",
                 {read(1, 37, 5), failed(2)},
                 board::GridMode::own,
                 "失败 · 上次第37名",
                 true},
        CellCase{"FailedFirst", {failed(1)}, board::GridMode::own, "失败", false},
        CellCase{"Competitor", {read(1, 37, 5)}, board::GridMode::competitor, "第5名", false},
        CellCase{"Behind", {read(1, 37, 5)}, board::GridMode::difference, "落后 32 名", false},
        CellCase{"Ahead", {read(1, 5, 37)}, board::GridMode::difference, "领先 32 名", false},
        CellCase{"OnlyOwnRanked", {read(1, 37, {})}, board::GridMode::difference, "领先", false},
        // The own rank read beside a competitor whose page failed stays the own value.
        CellCase{"OwnReadCompetitorFailed",
                 {read(1, 40, 5), own_only(2, 37)},
                 board::GridMode::own,
                 "第37名 ▲3",
                 false},
        CellCase{"CompetitorFailedBesideOwn",
                 {read(1, 40, 5), own_only(2, 37)},
                 board::GridMode::competitor,
                 "失败 · 上次第5名",
                 true}),
    [](const auto& info) { return info.param.name; });

// What the colours, the filters and the sorting go by.
TEST(CellFlags, RiseGreenFallRedFailureFlaggedAheadGood) {
    using board::CellTone;
    const auto own = [](std::vector<Check> checks) {
        return board::cell_view({std::move(checks), {}}, "1", "2", board::GridMode::own);
    };
    const auto rose = own({read(1, 40, 5), read(2, 37, 6)});
    EXPECT_EQ(rose.tone, CellTone::good);
    EXPECT_FALSE(rose.fell);
    EXPECT_EQ(rose.value, 37);
    const auto fell = own({read(1, 37, 5), read(2, 40, 6)});
    EXPECT_EQ(fell.tone, CellTone::bad);
    EXPECT_TRUE(fell.fell);
    const auto left = own({read(1, 37, 5), read(2, {}, 6)});
    EXPECT_TRUE(left.fell);
    EXPECT_EQ(left.value, std::nullopt);
    const auto broken = own({read(1, 37, 5), failed(2)});
    EXPECT_TRUE(broken.failed);
    EXPECT_EQ(broken.value, std::nullopt);
    EXPECT_NE(broken.text.find("（"), std::string::npos) << broken.text;
    const auto ahead =
        board::cell_view({{read(1, 5, 37)}, {}}, "1", "2", board::GridMode::difference);
    EXPECT_EQ(ahead.tone, CellTone::good);
    EXPECT_EQ(ahead.value, -32);
}

TEST(SortedRows, ByValueThenBoardOrderWithoutValueLast) {
    const std::vector<std::optional<int>> values = {std::nullopt, 30, 5, std::nullopt, 30, 12};
    EXPECT_EQ(board::sorted_rows(values, false), (std::vector<std::size_t>{2, 5, 1, 4, 0, 3}));
    EXPECT_EQ(board::sorted_rows(values, true), (std::vector<std::size_t>{1, 4, 5, 2, 0, 3}));
}

TEST(RowShown, FellOrFailedInAnyCell) {
    board::CellView plain, fell, failed;
    fell.fell = true;
    failed.failed = true;
    using board::RowFilter;
    EXPECT_TRUE(board::row_shown({plain}, RowFilter::all));
    EXPECT_FALSE(board::row_shown({plain, failed}, RowFilter::fell));
    EXPECT_TRUE(board::row_shown({plain, fell}, RowFilter::fell));
    EXPECT_TRUE(board::row_shown({failed, plain}, RowFilter::failed));
    EXPECT_FALSE(board::row_shown({fell}, RowFilter::failed));
}

}  // namespace
