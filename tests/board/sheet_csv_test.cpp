// The window's three exports read back by a spreadsheet: the same Chinese
// columns first, names beside every ID, local times with their offset.
#include "board/sheet_csv.h"

#include <gtest/gtest.h>

#include "board/notice_list.h"
#include "plain/csv_reader.h"
#include "plain/scoped_time_zone.h"
#include "text/codepage.h"

namespace {

using history::Role;

const std::vector<std::string> kLead = {"时间", "看板",   "列表",     "列表ID",
                                        "排序", "商品ID", "商品名称", "店铺"};

board::SheetNames names() {
    board::Board b;
    b.own = {{"1001", {}, text::utf8_to_gbk("麻辣条 500g"), text::utf8_to_gbk("=老王食品")}};
    b.competitors = {{"2002", {}, text::utf8_to_gbk("卫龙"), {}}};
    b.category_ids = {"14"};
    b.category_names = {{"14", text::utf8_to_gbk("休闲零食")}};
    b.tab_id = "7";
    b.tab_name = text::utf8_to_gbk("今日推荐");
    return board::sheet_names(b);
}

// Row `row` as column name -> field.
std::map<std::string, std::string> row_of(const test::CsvRecords& records, std::size_t row) {
    std::map<std::string, std::string> out;
    for (std::size_t i = 0; i < records.at(0).size(); ++i)
        out[records[0][i]] = records.at(row).at(i);
    return out;
}

TEST(SheetCsv, ChecksAndNoticesShareTheLeadingColumnsWithNamesAndOffsets) {
    const test::ScopedTimeZone zone("Asia/Shanghai");
    history::Check category;
    category.board = "早市";
    category.listing = history::Listing::category;
    category.key = "14";
    category.time_ms = 1'714'552'200'250;
    category.pages_read = 2;
    category.http_statuses = {200, 503};
    category.outcome = history::Outcome::found;
    category.goods = {{"1001", Role::own, 37}, {"2002", Role::competitor, std::nullopt}};
    history::Notice notice;
    notice.board = "早市";
    notice.time_ms = category.time_ms;
    notice.listing = history::Listing::tab;
    notice.key = "7";
    notice.goods_id = "2002";
    notice.kind = "overtaken";
    notice.before = "第5名";
    notice.after = "第9名";
    notice.message = "-被超过";

    const test::CsvRecords checks = test::read_csv(board::sheet_checks_csv({category}, names()));
    const test::CsvRecords notices = test::read_csv(board::notices_csv({notice}, names()));
    ASSERT_EQ(checks.size(), 3u);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(checks[0].begin(), checks[0].begin() + 8), kLead);
    EXPECT_EQ(std::vector<std::string>(notices[0].begin(), notices[0].begin() + 8), kLead);
    EXPECT_EQ(checks[0].size(), 14u);
    EXPECT_EQ(notices[0].size(), 12u);

    const auto own = row_of(checks, 1);
    EXPECT_EQ(own.at("时间"), "2024-05-01 16:30:00 +08:00");
    EXPECT_EQ(own.at("列表"), "类目 休闲零食");
    EXPECT_EQ(own.at("列表ID"), "14");
    EXPECT_EQ(own.at("商品名称"), "麻辣条 500g");
    EXPECT_EQ(own.at("店铺"), "'=老王食品");
    EXPECT_EQ(own.at("本店/竞品"), "本店");
    EXPECT_EQ(own.at("结果"), "第37名");
    EXPECT_EQ(own.at("名次"), "37");
    EXPECT_EQ(own.at("HTTP状态"), "200;503");
    const auto competitor = row_of(checks, 2);
    EXPECT_EQ(competitor.at("结果"), "千名外");
    EXPECT_EQ(competitor.at("名次"), "");

    const auto overtaken = row_of(notices, 1);
    EXPECT_EQ(overtaken.at("时间"), "2024-05-01 16:30:00 +08:00");
    EXPECT_EQ(overtaken.at("列表"), "爱逛街 今日推荐");
    EXPECT_EQ(overtaken.at("商品名称"), "卫龙");
    EXPECT_EQ(overtaken.at("变动"), "被竞品超过");
    EXPECT_EQ(overtaken.at("说明"), "'-被超过");
}

}  // namespace
