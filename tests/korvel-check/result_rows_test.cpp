// Which goods item of a one-off run reads which goods of the board it runs.
#include <gtest/gtest.h>

#include "result_rows.h"

namespace {

cli::GoodsInput id(std::string typed) {
    return {std::move(typed), false};
}

TEST(PlaceGoods, EachIdOnceOwnGoodsFirstAndInputsWithoutAnIdKeepTheirText) {
    cli::CheckPlan plan;
    plan.own = {id("11"), {"http://x/goods2.html?goods_id=5", true}, id("11")};
    plan.competitors = {id("22"), id("11"), id("33"), id("22")};
    board::Board b;
    const cli::ResolvedIds ids{{"11", "", "11"}, {"22", "11", "33", "22"}};
    const auto columns = cli::place_goods(plan, ids, b);

    EXPECT_EQ(board::goods_ids(b), (std::vector<std::string>{"11", "22", "33"}));
    EXPECT_EQ(b.own.size(), 1u) << "an id given as own goods and competitor counts as own";
    const std::vector<std::pair<std::string, std::optional<std::size_t>>> expected = {
        {"11", 0}, {"http://x/goods2.html?goods_id=5", std::nullopt},
        {"11", 0}, {"22", 1},
        {"11", 0}, {"33", 2},
        {"22", 1}};
    ASSERT_EQ(columns.size(), expected.size());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        EXPECT_EQ(columns[i].label, expected[i].first) << i;
        EXPECT_EQ(columns[i].target, expected[i].second) << i;
    }
}

}  // namespace
