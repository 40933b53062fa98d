// Checks as CSV: codes and words side by side, local times, names from the
// boards, and fields a spreadsheet cannot run.
#include "board/check_csv.h"

#include <gtest/gtest.h>

#include <sstream>

#include "../history/history_fixture.h"
#include "board/board_text.h"
#include "board/goods_names.h"
#include "plain/csv_reader.h"
#include "plain/scoped_time_zone.h"
#include "text/codepage.h"

namespace {

using history::Check;
using history::Outcome;
using history::Role;
using history_test::HistoryTest;

TEST(ChecksCsv, BomHeaderAndOneRowPerGoodsItemWithCrLf) {
    const test::ScopedTimeZone zone("Asia/Shanghai");
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

    const board::NamesById names = {{"1001", {"麻辣条 500g", "=老王食品"}}};
    board::ListingNamesByBoard listings;
    listings[""].tabs["12"] = "今日推荐";
    EXPECT_EQ(
        board::checks_csv({found, failed, skipped}, names, true, listings),
        "\xEF\xBB\xBF"
        "time,board,listing,key,listing_text,sort,sort_text,goods_id,goods_name,shop_name,"
        "role,role_text,status,status_text,rank,reason,pages,http_statuses\r\n"
        "2024-05-01 16:30:00 +08:00,早市,keyword,\"辣条,小包\",\"辣条,小包\",price-asc,"
        "价格从低到高,1001,麻辣条 500g,'=老王食品,own,本店,found,第734名,734,,2,200;200\r\n"
        "2024-05-01 16:30:00 +08:00,早市,keyword,\"辣条,小包\",\"辣条,小包\",price-asc,"
        "价格从低到高,2002,,,competitor,竞品,not_in_top_1000,千名外,,,2,200;200\r\n"
        "1970-01-01 08:00:00 +08:00,,tab,12,爱逛街 今日推荐,,,1001,麻辣条 500g,'=老王食品,own,"
        "本店,failed,失败,,\"HTTP 503 \"\"busy\"\"\",0,503\r\n"
        "1970-01-01 08:00:00 +08:00,,new,,新品,,,,,,,,not_checked,未检查,,,0,\r\n");
    EXPECT_EQ(board::checks_csv({}, {}, false), board::checks_csv({}, {}).substr(3))
        << "the same header without the mark";
}

// Every text a seller types reads back as typed once the one apostrophe is
// dropped, and never starts a formula.
TEST(ChecksCsv, TypedTextCannotRunAsAFormula) {
    Check check;
    check.board = "+看板";
    check.key = "=HYPERLINK(\"http://x\",\"点我\")";
    check.outcome = Outcome::failed;
    check.reason = "@原因";
    check.goods = {{"1", Role::own, std::nullopt}};
    const auto records = test::read_csv(board::checks_csv({check}, {{"1", {"-名字", "\t店"}}}));
    ASSERT_EQ(records.size(), 2u);
    const auto& header = records[0];
    const auto field = [&](const std::string& column) {
        const auto at = std::find(header.begin(), header.end(), column);
        return records[1].at(static_cast<std::size_t>(at - header.begin()));
    };
    const std::pair<const char*, std::string> typed[] = {
        {"board", check.board},   {"key", check.key},      {"listing_text", check.key},
        {"reason", check.reason}, {"goods_name", "-名字"}, {"shop_name", "\t店"},
    };
    for (const auto& [column, text] : typed) {
        EXPECT_EQ(field(column), "'" + text) << column;
    }
}

TEST_F(HistoryTest, WriteChecksCsvStreamsTheBytesOfChecksCsv) {
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
    const board::NamesById names = {{"2002", {"对手", "对手店"}}};
    for (const history::CheckFilter& filter :
         {history::CheckFilter{}, history::CheckFilter{.board = "早市", .newest_first = true}}) {
        for (const bool mark : {true, false}) {
            std::ostringstream out;
            ASSERT_TRUE(board::write_checks_csv(store, filter, names, mark, out).ok());
            EXPECT_EQ(out.str(), board::checks_csv(store.checks(filter).value(), names, mark));
        }
    }
    std::ostringstream out;
    ASSERT_TRUE(board::write_checks_csv(store, {}, names, true, out).ok());
    EXPECT_NE(
        out.str().find(",2002,对手,对手店,competitor,竞品,failed,失败,,第2页：HTTP 503,1,200"),
        std::string::npos)
        << out.str();
}

// Names come from the boards (GBK there, UTF-8 in the export); goods
// without a name are left out, so they export with empty names. Over the
// saved boards the first by name (乙 before 甲) names a goods item.
TEST_F(HistoryTest, GoodsNamesFromABoardAndFromEverySavedBoard) {
    const auto gbk = [](const char* utf8) { return text::utf8_to_gbk(utf8); };
    board::Board first;
    first.name = gbk("甲");
    first.own = {{"1", "", gbk("辣条"), gbk("甲店")}, {"2", "", "", ""}};
    first.competitors = {{"3", "", gbk("对手"), ""}};
    board::Board second;
    second.name = gbk("乙");
    second.own = {{"1", "", gbk("别名"), ""}, {"4", "", "", gbk("乙店")}};

    const board::NamesById from_first = {{"1", {"辣条", "甲店"}}, {"3", {"对手", ""}}};
    EXPECT_EQ(board::goods_names(first), from_first);

    auto store = open_store();
    ASSERT_TRUE(store.save_board("甲", board::board_to_text(first), 1).ok());
    ASSERT_TRUE(store.save_board("乙", board::board_to_text(second), 1).ok());
    ASSERT_TRUE(store.save_board("坏", "not a board", 1).ok());
    const board::NamesById every = {{"1", {"别名", ""}}, {"3", {"对手", ""}}, {"4", {"", "乙店"}}};
    EXPECT_EQ(board::goods_names(store), every);
}

}  // namespace
