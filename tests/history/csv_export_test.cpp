// The CSV text of checks and the ISO times in it.
#include <gtest/gtest.h>

#include <sstream>

#include "history/csv_export.h"
#include "history/iso_time.h"
#include "history_fixture.h"

namespace {

using history::Check;
using history::Outcome;
using history::Role;
using history_test::HistoryTest;

TEST(CsvField, QuotesOnlyWhatNeedsQuoting) {
    const struct {
        std::string in, out;
    } cases[] = {
        {"辣条", "辣条"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\rhere", "\"cr\rhere\""},
        {"辣条,小包\r\n", "\"辣条,小包\r\n\""},
        {"semi;colon", "semi;colon"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::csv_field(c.in), c.out) << c.in;
    }
}

TEST(IsoTime, UtcWithMillisecondsOnEitherSideOfTheEpoch) {
    const struct {
        std::int64_t ms;
        const char* text;
    } cases[] = {
        {0, "1970-01-01T00:00:00.000Z"},
        {1'714'552'200'250, "2024-05-01T08:30:00.250Z"},
        {951'782'400'000, "2000-02-29T00:00:00.000Z"},
        {-1, "1969-12-31T23:59:59.999Z"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(history::iso_utc(c.ms), c.text) << c.ms;
    }
}

TEST(CsvExport, BomHeaderAndOneRowPerGoodsItemWithCrLf) {
    Check found;
    found.board = "早市";
    found.key = "辣条,小包";
    found.sort = history::Sort::price_asc;
    found.time_ms = 1'714'552'200'250;
    found.pages_read = 2;
    found.http_statuses = {200, 200};
    found.outcome = Outcome::found;
    found.goods = {{"1001", Role::own, 734}, {"2002", Role::competitor, std::nullopt}};

    Check failed;
    failed.listing = history::Listing::tab;
    failed.key = "12";
    failed.time_ms = 0;
    failed.pages_read = 0;
    failed.http_statuses = {503};
    failed.outcome = Outcome::failed;
    failed.reason = "HTTP 503 \"busy\"";
    failed.goods = {{"1001", Role::own, std::nullopt}};

    Check skipped;
    skipped.listing = history::Listing::new_goods;
    skipped.outcome = Outcome::not_checked;

    EXPECT_EQ(
        history::to_csv({found, failed, skipped}),
        "\xEF\xBB\xBF"
        "time,board,listing,key,sort,goods_id,role,status,rank,reason,pages,http_statuses\r\n"
        "2024-05-01T08:30:00.250Z,早市,keyword,\"辣条,小包\",price-asc,1001,own,found,734,,2,"
        "200;200\r\n"
        "2024-05-01T08:30:00.250Z,早市,keyword,\"辣条,小包\",price-asc,2002,competitor,"
        "not_in_top_1000,,,2,200;200\r\n"
        "1970-01-01T00:00:00.000Z,,tab,12,,1001,own,failed,,\"HTTP 503 \"\"busy\"\"\",0,503\r\n"
        "1970-01-01T00:00:00.000Z,,new,,,,,not_checked,,,0,\r\n");
}

TEST_F(HistoryTest, WriteCsvStreamsTheBytesOfToCsv) {
    auto store = open_store();
    Check mixed = history_test::keyword_check("早市", "辣条,小包", history::Sort::sales, 100);
    mixed.outcome = Outcome::found;
    mixed.goods = {{"1001", Role::own, 3, Outcome::found},
                   {"2002", Role::competitor, std::nullopt, Outcome::failed, "第2页：HTTP 503"}};
    Check skipped;
    skipped.board = "早市";
    skipped.time_ms = 50;
    skipped.reason = "停止";
    for (const auto& check : {mixed, skipped, history_test::keyword_check("", "k", {}, 75)}) {
        ASSERT_TRUE(store.add_check(check).ok());
    }
    for (const history::CheckFilter& filter :
         {history::CheckFilter{}, history::CheckFilter{.board = "早市", .newest_first = true}}) {
        std::ostringstream out;
        ASSERT_TRUE(history::write_csv(store, filter, out).ok());
        EXPECT_EQ(out.str(), history::to_csv(store.checks(filter).value()));
    }
    std::ostringstream out;
    ASSERT_TRUE(history::write_csv(store, {}, out).ok());
    EXPECT_NE(out.str().find("2002,competitor,failed,,第2页：HTTP 503,1,200"), std::string::npos);
}

}  // namespace
