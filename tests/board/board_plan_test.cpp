// What a board may hold, the checks it becomes, and which of them a re-check
// runs again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "board/check_plan.h"
#include "board/check_report.h"
#include "board/typed_board.h"
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
        {"",
         [](Board& b) {
             b.competitors.push_back({{}, "http://m/goods2.html?goods_id=9", {}, {}});
         }},
        {"竞品“12a”不是商品ID（数字）或商品链接",
         [](Board& b) {
             b.competitors.push_back({"12a", {}, {}, {}});
         }},
        {"竞品重复：4033138",
         [](Board& b) {
             b.competitors.push_back({"4033138", {}, {}, {}});
         }},
        {"类目“休闲零食”不是类目ID：请从类目列表中选择，或填写数字ID",
         [](Board& b) { b.category_ids.push_back(text::utf8_to_gbk("休闲零食")); }},
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

namespace {

// A board typed with every kind of mistake at once: each is named, in one
// list, the characters quoted so that no control character reaches a message.
TEST(TypedBoard, ListsEveryFaultAtOnceAndKeepsWhatIsRight) {
    Board typed;
    typed.name = std::string("al\0pha", 6);
    typed.own = {board::typed_goods(" http://127.0.0.1:1/goods2.html?goods_id=7 ")};
    for (int i = 1; i <= 6; ++i)
        typed.competitors.push_back(board::typed_goods(std::to_string(i)));
    typed.competitors.push_back(board::typed_goods("辣条店"));
    typed.keywords = {"辣条😀", "k\x1B[2J", "\xFF", "辣条"};
    typed.category_ids = {"休闲零食"};
    typed.channels = {"运营群\r\n"};
    const board::TypedBoard checked = board::check_typed(typed, "goods2.html");
    std::vector<std::string> faults;
    for (const std::string& fault : checked.faults)
        faults.push_back(text::gbk_to_utf8(fault));
    const std::vector<std::string> expected = {
        "看板名称“al\\x00pha”含有控制字符 \\x00（如换行、制表、ESC）",
        "关键词“辣条?”含有无法保存的字符 U+1F600（如表情符号）",
        "关键词“k\\x1B[2J”含有控制字符 \\x1B（如换行、制表、ESC）",
        "关键词“\\xFF”含有无法识别的字节 0xFF",
        "通知通道“运营群\\x0D\\x0A”含有控制字符 \\x0D（如换行、制表、ESC）",
        "竞品“辣条店”既不是商品ID也不是商品链接",
        "竞品最多5个",
        "类目“休闲零食”不是类目ID：请从类目列表中选择，或填写数字ID",
    };
    for (const std::string& fault : expected)
        EXPECT_NE(std::find(faults.begin(), faults.end(), fault), faults.end()) << fault;
    EXPECT_EQ(faults.size(), expected.size());
    for (const std::string& fault : faults)
        EXPECT_EQ(fault.find('\x1B'), std::string::npos) << fault;
    // The goods link stays a link for the run to look its id up.
    EXPECT_EQ(checked.board.own.front().link, "http://127.0.0.1:1/goods2.html?goods_id=7");
    EXPECT_TRUE(checked.board.own.front().id.empty());
}

}  // namespace
