// Output rows of a run: which goods item reads which outcome, and a check the
// scheduler gave up on never passing for "not in the top 1000".
#include <gtest/gtest.h>

#include "result_rows.h"
#include "text/codepage.h"

namespace {

using ranking::RunOutcome;
using ranking::RunStatus;

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

TEST(GoodsMajorRows, NotCheckedAndUnreportedChecksAreFailuresAndAMissingIdFailsAlone) {
    const std::vector<ranking::Listing> listings = {
        {ranking::QueryKind::keyword, text::utf8_to_gbk("辣条"), ranking::Sort::sales},
        {ranking::QueryKind::category, "14", std::nullopt},
        {ranking::QueryKind::new_goods, "", std::nullopt}};
    board::CheckReport read;
    read.outcomes = {RunOutcome::found_at(7), RunOutcome::not_in_top_1000()};
    board::CheckReport given_up;
    given_up.checked = false;
    const cli::Reports reports = {read, given_up, std::nullopt};
    const std::vector<cli::GoodsColumn> columns = {{"11", 0}, {"22", 1}, {"link", std::nullopt}};

    const auto rows = cli::goods_major_rows(columns, listings, reports);
    ASSERT_EQ(rows.size(), 9u);
    const std::string not_checked = "未检查";
    const std::pair<RunStatus, std::string> expected[] = {{RunStatus::found, ""},
                                                          {RunStatus::failed, not_checked},
                                                          {RunStatus::failed, not_checked},
                                                          {RunStatus::not_in_top_1000, ""},
                                                          {RunStatus::failed, not_checked},
                                                          {RunStatus::failed, not_checked},
                                                          {RunStatus::failed, "未取得商品ID"},
                                                          {RunStatus::failed, "未取得商品ID"},
                                                          {RunStatus::failed, "未取得商品ID"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].status, expected[i].first) << i;
        EXPECT_EQ(rows[i].reason, expected[i].second) << i;
    }
    EXPECT_EQ(rows[0].rank, 7);
    EXPECT_EQ(rows[0].key, "辣条");
    EXPECT_EQ(rows[0].sort, "sales");
    EXPECT_EQ(rows[7].listing, "category");
    EXPECT_EQ(rows[8].goods_id, "link");
    EXPECT_EQ(cli::exit_code_of(rows), 2);
    EXPECT_EQ(cli::exit_code_of({rows[0], rows[3]}), 0);
}

}  // namespace
