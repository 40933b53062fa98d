// What a board may hold, the checks it becomes, and which of them a re-check
// runs again.
#include <gtest/gtest.h>

#include <functional>

#include "board/check_plan.h"
#include "board/check_report.h"
#include "text/codepage.h"

namespace {

using board::Board;
using board::GoodsItem;
using ranking::Listing;
using ranking::QueryKind;
using ranking::Sort;

Board small_board() {
    Board b;
    b.name = "b";
    b.own = {{"4033138", {}, {}, {}}};
    b.keywords = {"k"};
    return b;
}

TEST(BoardValidate, NamesEachFault) {
    struct Row {
        const char* fault;  // UTF-8; empty: the board is fine
        std::function<void(Board&)> edit;
    };
    const Row rows[] = {
        {"", [](Board&) {}},
        {"",
         [](Board& b) {
             for (int i = 1; i <= 5; ++i)
                 b.competitors.push_back({std::to_string(i), {}, {}, {}});
         }},
        {"",
         [](Board& b) {
             b.keywords.clear();
             b.new_goods = true;
         }},
        {"看板名称不能为空", [](Board& b) { b.name = "  "; }},
        {"请至少添加一个本店商品", [](Board& b) { b.own.clear(); }},
        {"竞品最多5个",
         [](Board& b) {
             for (int i = 1; i <= 6; ++i)
                 b.competitors.push_back({std::to_string(i), {}, {}, {}});
         }},
        {"商品ID必须是数字：12a",
         [](Board& b) {
             b.competitors.push_back({"12a", {}, {}, {}});
         }},
        {"商品ID重复：4033138",
         [](Board& b) {
             b.competitors.push_back({"4033138", {}, {}, {}});
         }},
        {"请至少选择一种排序方式",
         [](Board& b) {
             b.sorts.clear();
             b.new_goods = true;
         }},
        {"关键词不能为空", [](Board& b) { b.keywords.push_back(" "); }},
        {"请至少添加一个关键词、类目、爱逛街标签或新品榜", [](Board& b) { b.keywords.clear(); }},
    };
    for (const Row& row : rows) {
        Board b = small_board();
        row.edit(b);
        const auto faults = board::validate(b);
        if (std::string(row.fault).empty()) {
            EXPECT_TRUE(faults.empty()) << text::gbk_to_utf8(faults.front());
        } else {
            ASSERT_EQ(faults.size(), 1u) << row.fault;
            EXPECT_EQ(text::gbk_to_utf8(faults[0]), row.fault);
        }
    }
}

TEST(CheckPlan, OneCheckPerKeywordAndSortThenTheOtherListingsEachOnce) {
    Board b = small_board();
    b.competitors = {{"9", {}, {}, {}}};
    b.keywords = {"a", "b", "a"};
    b.sorts = {Sort::sales, Sort::general};
    b.category_ids = {"14", "2301", "14"};
    b.tab_id = "21";
    b.new_goods = true;
    const board::CheckPlan plan = board::plan_checks(b);
    EXPECT_EQ(plan.goods_ids, (std::vector<std::string>{"4033138", "9"}));
    const std::vector<Listing> expected = {
        {QueryKind::keyword, "a", Sort::sales},     {QueryKind::keyword, "a", Sort::general},
        {QueryKind::keyword, "b", Sort::sales},     {QueryKind::keyword, "b", Sort::general},
        {QueryKind::category, "14", std::nullopt},  {QueryKind::category, "2301", std::nullopt},
        {QueryKind::ishopping, "21", std::nullopt}, {QueryKind::new_goods, "", std::nullopt},
    };
    ASSERT_EQ(plan.listings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(plan.listings[i].kind, expected[i].kind) << i;
        EXPECT_EQ(plan.listings[i].key, expected[i].key) << i;
        EXPECT_EQ(plan.listings[i].sort, expected[i].sort) << i;
    }
}

TEST(CheckPlan, RecheckTakesFailedNotCheckedAndUnreportedChecksOnly) {
    Board b = small_board();
    b.competitors = {{"9", {}, {}, {}}};
    b.keywords = {"a"};  // five checks, one per sort
    const board::CheckPlan plan = board::plan_checks(b);
    using ranking::RunOutcome;
    const auto report = [&](std::size_t check, std::vector<RunOutcome> outcomes) {
        board::CheckReport r;
        r.check = check;
        r.listing = plan.listings[check];
        r.checked = !outcomes.empty();
        r.outcomes = std::move(outcomes);
        return r;
    };
    const std::vector<board::CheckReport> reports = {
        report(0, {RunOutcome::found_at(3), RunOutcome::not_in_top_1000()}),
        report(1, {RunOutcome::found_at(3), RunOutcome::failed(ranking::FailReason::timeout)}),
        report(2, {}),  // not checked
        report(4, {RunOutcome::not_in_top_1000(), RunOutcome::not_in_top_1000()}),
    };  // check 3 never reported: the run was stopped
    const board::CheckPlan again = board::recheck_plan(plan, reports);
    EXPECT_EQ(again.goods_ids, plan.goods_ids);
    ASSERT_EQ(again.listings.size(), 3u);
    EXPECT_EQ(again.listings[0].sort, Sort::sales);
    EXPECT_EQ(again.listings[1].sort, Sort::credit);
    EXPECT_EQ(again.listings[2].sort, Sort::price_low);
}

}  // namespace
