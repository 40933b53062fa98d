// Rows from outcomes: their order, their text, and the exit code they give.
#include <gtest/gtest.h>

#include "exit_codes.h"
#include "result_rows.h"
#include "text/codepage.h"

namespace {

using ranking::FailReason;
using ranking::RunOutcome;
using ranking::RunStatus;

std::vector<cli::PlannedListing> two_listings() {
    return {
        {{ranking::QueryKind::keyword, text::utf8_to_gbk("辣条"), ranking::Sort::sales}, "辣条"},
        {{ranking::QueryKind::new_goods, "", std::nullopt}, ""}};
}

TEST(ResultRows, GoodsByGoodsEachInListingOrder) {
    const std::vector<std::vector<RunOutcome>> outcomes = {
        {RunOutcome::found_at(3), RunOutcome::found_at(40)},
        {RunOutcome::not_in_top_1000(), RunOutcome::found_at(500)}};
    const auto rows = cli::goods_major_rows({"11", "22"}, two_listings(), outcomes);
    ASSERT_EQ(rows.size(), 4u);
    const std::pair<const char*, const char*> expected[] = {
        {"11", "keyword"}, {"11", "new"}, {"22", "keyword"}, {"22", "new"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].goods_id, expected[i].first) << i;
        EXPECT_EQ(rows[i].listing, expected[i].second) << i;
    }
    EXPECT_EQ(rows[0].rank, 3);
    EXPECT_EQ(rows[1].status, RunStatus::not_in_top_1000);
    EXPECT_EQ(rows[2].rank, 40);
    EXPECT_EQ(rows[3].rank, 500);
}

TEST(ResultRows, KeywordRowsNameTheirSortAndOthersNone) {
    const auto rows = cli::goods_major_rows({"1"}, two_listings(),
                                            {{RunOutcome::found_at(1)}, {RunOutcome::found_at(2)}});
    EXPECT_EQ(rows[0].key, "辣条");
    EXPECT_EQ(rows[0].sort, "sales");
    EXPECT_EQ(rows[1].key, "");
    EXPECT_EQ(rows[1].sort, "");
}

TEST(ResultRows, FailuresCarryTheWindowsReasonInUtf8) {
    const std::pair<RunOutcome, const char*> cases[] = {
        {RunOutcome::failed(FailReason::connect), "无法连接服务器"},
        {RunOutcome::failed(FailReason::timeout), "请求超时"},
        {RunOutcome::failed(FailReason::http_status, 503), "服务器返回错误 503"},
        {RunOutcome::failed(FailReason::unreadable), "返回内容无法识别"},
        {RunOutcome::failed(FailReason::no_goods_id), "未取得商品ID"},
    };
    for (const auto& [outcome, reason] : cases) {
        const auto row = cli::result_row("1", two_listings()[0], outcome);
        EXPECT_EQ(row.status, RunStatus::failed);
        EXPECT_EQ(row.reason, reason);
        EXPECT_EQ(row.rank, 0);
    }
    EXPECT_EQ(cli::result_row("1", two_listings()[0], RunOutcome::found_at(9)).reason, "");
}

TEST(ResultRows, AnyFailureMakesTheExitCodeTwo) {
    const auto listings = two_listings();
    const auto found = cli::result_row("1", listings[0], RunOutcome::found_at(1));
    const auto missing = cli::result_row("1", listings[0], RunOutcome::not_in_top_1000());
    const auto failed = cli::result_row("1", listings[1], RunOutcome::failed(FailReason::timeout));
    EXPECT_EQ(cli::exit_code_of({}), cli::kExitAllRead);
    EXPECT_EQ(cli::exit_code_of({found, missing}), cli::kExitAllRead);
    EXPECT_EQ(cli::exit_code_of({found, failed, missing}), cli::kExitSomeFailed);
}

}  // namespace
