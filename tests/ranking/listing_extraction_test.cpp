#include "ranking/listing_extraction.h"

#include <gtest/gtest.h>

#include "listing_body.h"

namespace {

using ranking::QueryKind;

std::vector<std::string> column0(QueryKind kind, const std::string& body) {
    std::vector<ranking::ListingRow> table;
    ranking::append_listing_rows(table, kind, body);
    std::vector<std::string> out;
    for (const auto& row : table) {
        EXPECT_EQ(row.size(), 2u);
        out.push_back(row.at(0));
    }
    return out;
}

using Ids = std::vector<std::string>;

TEST(ListingExtraction, KeywordEntriesGiveTheirIdsInOrder) {
    const auto body = listing_body::keyword_listing(listing_body::ids({"11", "22", "33"}));
    EXPECT_EQ(column0(QueryKind::keyword, body), (Ids{"11", "22", "33"}));
    EXPECT_EQ(column0(QueryKind::category, body), (Ids{"11", "22", "33"}));
}

TEST(ListingExtraction, SecondColumnRunsUpToTheThumbKey) {
    std::vector<ranking::ListingRow> table;
    ranking::append_listing_rows(table, QueryKind::keyword,
                                 R"(x,"goods_id":5,"goods_name":"a","thumb_url":"t"})");
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0][1], R"(goods_name":"a",)");
}

TEST(ListingExtraction, EntryWithoutThumbKeepsItsRowAndTheNextOne) {
    auto entries = listing_body::ids({"11", "22", "33", "44"});
    entries[1].thumb = false;
    const auto body = listing_body::keyword_listing(entries);
    EXPECT_EQ(column0(QueryKind::keyword, body), (Ids{"11", "22", "33", "44"}));
}

TEST(ListingExtraction, LastEntryWithoutThumbStillGivesARow) {
    auto entries = listing_body::ids({"11", "22"});
    entries[1].thumb = false;
    EXPECT_EQ(column0(QueryKind::category, listing_body::keyword_listing(entries)),
              (Ids{"11", "22"}));
}

TEST(ListingExtraction, IdAsLastKeyOfAnEntryDoesNotSwallowTheNext) {
    const std::string body =
        R"([{"a":1,"goods_id":7},{"a":1,"goods_id":8,"goods_name":"b","thumb_url":"t"}])";
    const auto ids = column0(QueryKind::keyword, body);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0].substr(0, 1), "7");
    EXPECT_EQ(ids[1], "8");
}

TEST(ListingExtraction, KeysMatchInAnyLetterCase) {
    const std::string body = R"([{"a":1,"GOODS_ID":9,"n":"b","THUMB_url":"t"}])";
    EXPECT_EQ(column0(QueryKind::keyword, body), (Ids{"9"}));
}

TEST(ListingExtraction, ObjectListingsTakeOnlyObjectsThatBeginWithTheId) {
    std::string body = listing_body::object_listing(listing_body::ids({"101", "102"}));
    body += R"([{"x":1,"goods_id":103,"y":2}])";
    EXPECT_EQ(column0(QueryKind::ishopping, body), (Ids{"101", "102"}));
    EXPECT_EQ(column0(QueryKind::new_goods, body), (Ids{"101", "102"}));
}

TEST(ListingExtraction, ObjectRowsHaveAnEmptySecondColumn) {
    std::vector<ranking::ListingRow> table;
    ranking::append_listing_rows(table, QueryKind::new_goods, R"({"goods_id":3,"n":1})");
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0][1], "");
}

TEST(ListingExtraction, RowsAreAppendedAfterThoseAlreadyThere) {
    std::vector<ranking::ListingRow> table{{"1", ""}};
    ranking::append_listing_rows(table, QueryKind::keyword,
                                 listing_body::keyword_listing(listing_body::ids({"2"})));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1][0], "2");
}

TEST(ListingExtraction, GarbageAndEmptyBodiesGiveNoRows) {
    for (QueryKind kind :
         {QueryKind::keyword, QueryKind::category, QueryKind::ishopping, QueryKind::new_goods}) {
        EXPECT_TRUE(column0(kind, "").empty());
        EXPECT_TRUE(column0(kind, "<html>502 Bad Gateway</html>").empty());
        EXPECT_TRUE(column0(kind, std::string(100000, '\xff')).empty());
        EXPECT_TRUE(column0(kind, "{\"goods_id\"\n:1,\"thumb\"").empty());
    }
}

TEST(ListingExtraction, FiveHundredEntriesGiveFiveHundredRows) {
    const auto body = listing_body::keyword_listing(listing_body::numbered(1000, 500));
    const auto ids = column0(QueryKind::keyword, body);
    ASSERT_EQ(ids.size(), 500u);
    EXPECT_EQ(ids.front(), "1000");
    EXPECT_EQ(ids.back(), "1499");
}

}  // namespace
