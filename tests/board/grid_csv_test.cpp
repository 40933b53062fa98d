// The board's grid as a spreadsheet reads it, and the export's file names.
#include "board/grid_csv.h"

#include <gtest/gtest.h>

#include "plain/csv_reader.h"
#include "text/codepage.h"

namespace {

using history::Check;
using history::Outcome;
using history::Role;

Check check_of(history::Listing listing, std::string key, history::Sort sort, Outcome outcome,
               std::vector<history::GoodsResult> goods) {
    Check c;
    c.board = "早市";
    c.listing = listing;
    c.key = std::move(key);
    c.sort = sort;
    c.outcome = outcome;
    c.pages_read = outcome == Outcome::failed ? 0 : 1;
    c.goods = std::move(goods);
    return c;
}

// Read back through an RFC 4180 reader, the grid is what the window lays
// out: one block per own goods item, a keyword that looks like a formula
// kept from running, and the words of the board.
TEST(GridCsv, ReadsBackAsTheGridOfEachOwnGoodsItem) {
    const auto gbk = [](const char* utf8) { return text::utf8_to_gbk(utf8); };
    board::Board b;
    b.name = gbk("早市");
    b.own = {{"1", "", gbk("麻辣条"), gbk("老王")}, {"5", "", "", ""}};
    b.keywords = {gbk("辣条"), gbk("=HYPERLINK(\"x\",1)")};
    b.sorts = {ranking::Sort::general, ranking::Sort::sales};
    b.new_goods = true;
    const board::GridLayout layout = board::grid_layout(b);

    using history::Listing;
    using history::Sort;
    board::BoardLog log("早市", nullptr);
    log.keep(check_of(Listing::keyword, "辣条", Sort::default_order, Outcome::found,
                      {{"1", Role::own, 37}, {"5", Role::own, std::nullopt}}));
    log.keep(check_of(Listing::keyword, "辣条", Sort::sales, Outcome::failed,
                      {{"1", Role::own, std::nullopt}, {"5", Role::own, std::nullopt}}));
    log.keep(check_of(Listing::keyword, "=HYPERLINK(\"x\",1)", Sort::default_order,
                      Outcome::not_in_top_1000,
                      {{"1", Role::own, std::nullopt}, {"5", Role::own, std::nullopt}}));
    log.keep(check_of(Listing::new_goods, "", Sort::none, Outcome::found, {{"1", Role::own, 3}}));
    const std::set<board::CellKey> stopped = {
        {Listing::keyword, "=HYPERLINK(\"x\",1)", Sort::sales}};

    const std::string csv = board::grid_csv(b, layout, log, stopped);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF")) << "a spreadsheet takes it for UTF-8";
    const test::CsvRecords expected = {
        {"本店 麻辣条", "综合", "销量"},
        {"辣条", "第37名", "失败"},
        {"'=HYPERLINK(\"x\",1)", "千名外", "未检查"},
        {"新品", "第3名", "不分排序"},
        {""},
        {"本店 5", "综合", "销量"},
        {"辣条", "千名外", "失败"},
        {"'=HYPERLINK(\"x\",1)", "千名外", "未检查"},
        {"新品", "未检查", "不分排序"},
    };
    EXPECT_EQ(test::read_csv(csv), expected);
}

TEST(GridCsv, ABoardWithoutChecksGivesItsLayoutNotChecked) {
    board::Board b;
    b.own = {{"1", "", "", ""}};
    b.keywords = {"k"};
    b.sorts = {ranking::Sort::price_low};
    const test::CsvRecords expected = {{"本店 1", "价格从低到高"}, {"k", "未检查"}};
    EXPECT_EQ(
        test::read_csv(board::grid_csv(b, board::grid_layout(b), board::BoardLog("", nullptr), {})),
        expected);
}

TEST(ExportFileName, BoardNameKindAndDateWithUnsafeCharactersReplaced) {
    const struct {
        const char* board;
        const char* kind;
        const char* date;
        const char* name;
    } cases[] = {
        {"我的看板", "表格", "2026-12-09", "我的看板-表格-2026-12-09.csv"},
        {"", "明细", "2026-12-09", "看板-明细-2026-12-09.csv"},
        {"早/晚:市?", "历史", "2026-12-01至2026-12-09",
         "早_晚_市_-历史-2026-12-01至2026-12-09.csv"},
        {"a\\b*\"<>|", "表格", "2026-12-09", "a_b_____-表格-2026-12-09.csv"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(board::export_file_name(c.board, c.kind, c.date), c.name) << c.board;
}

}  // namespace
