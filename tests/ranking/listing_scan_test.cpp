#include "ranking/listing_scan.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

std::vector<ranking::ListingRow> table_of(int first, int count) {
    std::vector<ranking::ListingRow> t;
    for (int i = 0; i < count; ++i)
        t.push_back({std::to_string(first + i), ""});
    return t;
}

TEST(ListingScan, FirstEntryIsPositionOne) {
    EXPECT_EQ(ranking::scan_listing(table_of(100, 500), "100"), 1);
}

TEST(ListingScan, ThirdEntryOfPageTwoAfterAFullPageOne) {
    auto table = table_of(1, 500);
    auto page2 = table_of(9001, 500);
    table.insert(table.end(), page2.begin(), page2.end());
    EXPECT_EQ(ranking::scan_listing(table, "9003"), 503);
}

TEST(ListingScan, ThirdEntryOfPageTwoAfterAShortPageOne) {
    auto table = table_of(1, 480);
    auto page2 = table_of(9001, 500);
    table.insert(table.end(), page2.begin(), page2.end());
    EXPECT_EQ(ranking::scan_listing(table, "9003"), 483);
}

TEST(ListingScan, TargetListedTwiceIsAtItsFirstPosition) {
    auto table = table_of(1, 10);
    table[3][0] = "777";
    table[8][0] = "777";
    EXPECT_EQ(ranking::scan_listing(table, "777"), 4);
}

TEST(ListingScan, BothSidesAreTrimmedOfSpaces) {
    std::vector<ranking::ListingRow> table{{"1", ""}, {" 42 ", ""}};
    EXPECT_EQ(ranking::scan_listing(table, "42"), 2);
    EXPECT_EQ(ranking::scan_listing(table, GBK("　42  ")), 2);
}

TEST(ListingScan, ComparisonIsExactOtherwise) {
    std::vector<ranking::ListingRow> table{{"abc", ""}, {"420", ""}};
    EXPECT_EQ(ranking::scan_listing(table, "ABC"), std::nullopt);
    EXPECT_EQ(ranking::scan_listing(table, "42"), std::nullopt);
}

TEST(ListingScan, EmptyTargetMatchesOnlyAnEmptyId) {
    EXPECT_EQ(ranking::scan_listing(table_of(1, 5), ""), std::nullopt);
    std::vector<ranking::ListingRow> table{{"1", ""}, {"", ""}};
    EXPECT_EQ(ranking::scan_listing(table, ""), 2);
}

TEST(ListingScan, EmptyTableFindsNothing) {
    EXPECT_EQ(ranking::scan_listing({}, "1"), std::nullopt);
}

}  // namespace
