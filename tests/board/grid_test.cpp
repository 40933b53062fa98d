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
                 "第37名 ▲3 (最好第37名)",
                 false},
        CellCase{"Outside", {read(1, {}, 5)}, board::GridMode::own, "千名外", false},
        CellCase{"FailedKeepsLastGood",
                 {read(1, 37, 5), failed(2)},
                 board::GridMode::own,
                 "失败 · 上次第37名",
                 true},
        CellCase{"FailedFirst", {failed(1)}, board::GridMode::own, "失败", false},
        CellCase{"Competitor", {read(1, 37, 5)}, board::GridMode::competitor, "第5名", false},
        CellCase{"Difference", {read(1, 37, 5)}, board::GridMode::difference, "+32", false},
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

}  // namespace
