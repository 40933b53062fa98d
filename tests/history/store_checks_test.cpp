// Checks written to a real history and read back, filtered, counted and pruned.
#include "history_fixture.h"

namespace {

using history::Check;
using history::CheckFilter;
using history::Listing;
using history::Outcome;
using history::Role;
using history::Sort;
using history_test::keyword_check;
using history_test::StoreContract;

std::vector<std::int64_t> ids_of(const std::vector<Check>& checks) {
    std::vector<std::int64_t> ids;
    for (const auto& check : checks) {
        ids.push_back(check.id);
    }
    return ids;
}

std::vector<Check> every_outcome() {
    const std::vector<history::GoodsResult> unranked = {{"1001", Role::own, std::nullopt},
                                                        {"2002", Role::competitor, std::nullopt}};
    return {
        {.board = "早市",
         .key = "辣条 小包",
         .sort = Sort::sales,
         .time_ms = 1'714'552'200'250,
         .pages_read = 2,
         .http_statuses = {200, 200},
         .outcome = Outcome::found,
         .goods = {{"1001", Role::own, 734}, {"2002", Role::competitor, std::nullopt}}},
        keyword_check("早市", "辣条", Sort::price_desc, 1'714'552'260'000),
        // The own goods was on page 1; the competitor's page 2 failed.
        {.board = "早市",
         .key = "辣条",
         .sort = Sort::credit,
         .time_ms = 1'714'552'290'000,
         .pages_read = 1,
         .http_statuses = {200, 0},
         .outcome = Outcome::found,
         .goods = {{"1001", Role::own, 12, Outcome::found},
                   {"2002", Role::competitor, std::nullopt, Outcome::failed, "第2页：连接被拒绝"}}},
        {.listing = Listing::category,
         .key = "7",
         .time_ms = 1'714'552'320'000,
         .pages_read = 1,
         .http_statuses = {200, 503},
         .outcome = Outcome::failed,
         .reason = "page 2: HTTP 503",
         .goods = unranked},
        {.board = "早市",
         .listing = Listing::new_goods,
         .time_ms = 1'714'552'380'000,
         .outcome = Outcome::not_checked,
         .reason = "stopped by the user"},
    };
}

TEST_P(StoreContract, EveryOutcomeReadsBackAsWrittenAndFailureNeverAsNotInTop1000) {
    auto written = every_outcome();
    {
        auto store = open_store();
        for (auto& check : written) {
            check.id = store.add_check(check).value();
        }
    }
    const auto read = open_store().checks({});
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_EQ(read.value(), written);
    const Check& failed = read.value().at(3);
    for (const auto& goods : failed.goods) {
        EXPECT_EQ(status_of(failed, goods), Outcome::failed);
    }
    const Check& mixed = read.value().at(2);
    EXPECT_EQ(status_of(mixed, mixed.goods[0]), Outcome::found);
    EXPECT_EQ(status_of(mixed, mixed.goods[1]), Outcome::failed);
}

TEST_P(StoreContract, RecordsThatContradictThemselvesAreRefusedAndNothingIsWritten) {
    struct Case {
        const char* name;
        void (*spoil)(Check&);
    };
    const Case cases[] = {
        {"failed with a rank",
         [](Check& c) {
             c.outcome = Outcome::failed;
             c.goods[0].rank = 5;
         }},
        {"not in 1000 with a rank", [](Check& c) { c.goods[0].rank = 5; }},
        {"found without a rank", [](Check& c) { c.outcome = Outcome::found; }},
        {"rank past 1000",
         [](Check& c) {
             c.outcome = Outcome::found;
             c.goods[0].rank = 1001;
         }},
        {"three pages", [](Check& c) { c.pages_read = 3; }},
        {"a result without a page read", [](Check& c) { c.pages_read = 0; }},
        {"GBK key", [](Check& c) { c.key = "\xC0\xB1\xCC\xF5"; }},
        {"negative HTTP status", [](Check& c) { c.http_statuses = {-1}; }},
        {"HTTP status 99",
         [](Check& c) {
             c.http_statuses = {200, 99};
         }},
        {"found goods without a rank", [](Check& c) { c.goods[0].status = Outcome::found; }},
        {"failed goods with a rank",
         [](Check& c) {
             c.outcome = Outcome::found;
             c.goods[0] = {"1001", Role::own, 5, Outcome::failed};
         }},
        {"ranked goods in a check not found",
         [](Check& c) {
             c.goods[0] = {"1001", Role::own, 5, Outcome::found};
         }},
        {"read goods in a failed check",
         [](Check& c) {
             c.outcome = Outcome::failed;
             c.goods[0].status = Outcome::not_in_top_1000;
         }},
        {"no goods read in a not_in_top_1000 check",
         [](Check& c) { c.goods[0].status = Outcome::not_checked; }},
        {"GBK goods reason",
         [](Check& c) {
             c.outcome = Outcome::failed;
             c.goods[0].status = Outcome::failed;
             c.goods[0].reason = "\xC0\xB1";
         }},
    };
    auto store = open_store();
    for (const auto& c : cases) {
        Check check = keyword_check("b", "k", Sort::sales, 1);
        c.spoil(check);
        const auto added = store.add_check(check);
        ASSERT_FALSE(added.ok()) << c.name;
        EXPECT_EQ(added.error().code, history::ErrorCode::invalid_record) << c.name;
    }
    EXPECT_EQ(store.count_checks().value(), 0);
}

TEST_P(StoreContract, FiltersSelectByBoardTimeListingKeyAndSortInTimeOrder) {
    auto store = open_store();
    // Added out of time order, so the order of reading is tested too.
    std::vector<Check> added = {
        keyword_check("A", "辣条", Sort::sales, 300), keyword_check("A", "辣条", Sort::credit, 100),
        keyword_check("", "辣条", Sort::sales, 200),  keyword_check("B", "薯片", Sort::sales, 100),
        keyword_check("A", "薯片", Sort::sales, 300),
    };
    added.back().listing = Listing::tab;
    std::vector<std::int64_t> id;
    for (const auto& check : added) {
        id.push_back(store.add_check(check).value());
    }
    struct Case {
        const char* name;
        CheckFilter filter;
        std::vector<std::int64_t> expected;
    };
    const std::vector<Case> cases = {
        {"everything", {}, {id[1], id[3], id[2], id[0], id[4]}},
        {"board A", {.board = "A"}, {id[1], id[0], id[4]}},
        {"without a board", {.board = ""}, {id[2]}},
        {"since is inclusive", {.since_ms = 200}, {id[2], id[0], id[4]}},
        {"until is exclusive", {.until_ms = 200}, {id[1], id[3]}},
        {"time window", {.since_ms = 150, .until_ms = 300}, {id[2]}},
        {"listing", {.listing = Listing::tab}, {id[4]}},
        {"key", {.key = "辣条"}, {id[1], id[2], id[0]}},
        {"sort", {.board = "A", .sort = Sort::sales}, {id[0], id[4]}},
        {"no match", {.board = "C"}, {}},
    };
    for (const auto& c : cases) {
        const auto read = store.checks(c.filter);
        ASSERT_TRUE(read.ok()) << c.name;
        EXPECT_EQ(ids_of(read.value()), c.expected) << c.name;
    }
}

TEST_P(StoreContract, PruneRemovesOlderChecksWithTheirGoodsAndCountsFollow) {
    auto store = open_store();
    for (const std::int64_t time : {100, 200, 300, 400}) {
        Check check = keyword_check(time < 300 ? "A" : "", "k", Sort::sales, time);
        check.goods.push_back({"2002", Role::competitor, std::nullopt});
        ASSERT_TRUE(store.add_check(check).ok());
    }
    EXPECT_EQ(store.count_checks().value(), 4);
    EXPECT_EQ(store.count_checks("A").value(), 2);
    EXPECT_EQ(store.count_checks("").value(), 2);

    EXPECT_EQ(store.prune_before(300).value(), 2);
    EXPECT_EQ(store.prune_before(300).value(), 0);
    EXPECT_EQ(store.count_checks().value(), 2);
    EXPECT_EQ(store.count_checks("A").value(), 0);
    const auto left = store.checks({});
    ASSERT_EQ(left.value().size(), 2u);
    EXPECT_EQ(left.value()[0].time_ms, 300);
    EXPECT_EQ(left.value()[0].goods.size(), 2u);

    // No goods row outlives its check.
    EXPECT_EQ(rows_in("check_goods"), 4);
}

}  // namespace
