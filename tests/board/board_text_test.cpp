// A board through its text form and back, and texts that are not boards.
#include <gtest/gtest.h>

#include "board/board_text.h"
#include "text/codepage.h"

namespace {

using board::Board;
using board::board_from_text;
using board::board_to_text;

Board awkward_board() {
    Board b;
    b.name = text::utf8_to_gbk("我的看板, \"主推\" = 夏季");
    b.own = {{"4033138", text::utf8_to_gbk("http://mobile.test/goods2.html?goods_id=4033138&a=1"),
              text::utf8_to_gbk("【送礼首选】辣条大礼包, \"64包\""),
              text::utf8_to_gbk("味道工坊\\零食\t旗舰店")},
             {"5", {}, {}, {}}};
    b.competitors = {{"96919329", {}, text::utf8_to_gbk("竞品\r\n第二行"), {}}};
    b.keywords = {text::utf8_to_gbk("辣条大礼包"), text::utf8_to_gbk(" 前后空格 "),
                  text::utf8_to_gbk("a=b,c\\n")};
    b.sorts = {ranking::Sort::price_high, ranking::Sort::general};
    b.category_ids = {"14", "23017"};
    b.category_names = {{"23017", text::utf8_to_gbk("休闲零食")}};
    b.tab_id = "14";
    b.tab_name = text::utf8_to_gbk("今日推荐");
    b.new_goods = true;
    b.schedule = board::Schedule{true, 30, 8 * 60, 22 * 60, board::Weekdays{0x1F}};
    b.notices = {5, 10};
    b.channels = {text::utf8_to_gbk("运营群"), "mail"};
    b.report_minute = 9 * 60 + 5;
    return b;
}

TEST(BoardText, RoundTripsEveryFieldByteForByte) {
    Board empty_lists;
    empty_lists.name = "x";
    empty_lists.own = {{"1", {}, {}, {}}};
    empty_lists.sorts.clear();
    for (const Board& original : {awkward_board(), empty_lists}) {
        std::string error;
        const auto parsed = board_from_text(board_to_text(original), &error);
        ASSERT_TRUE(parsed) << error;
        EXPECT_EQ(*parsed, original);
    }
}

TEST(BoardText, IsUtf8WithOneFieldPerLine) {
    const std::string written = board_to_text(awkward_board());
    EXPECT_NE(written.find("keyword=辣条大礼包\n"), std::string::npos);
    EXPECT_NE(written.find("goods_name=竞品\\r\\n第二行\n"), std::string::npos);
    EXPECT_NE(written.find("sorts=price-desc,default\n"), std::string::npos);
}

TEST(BoardText, ReadsFilesSavedWithCrLfAndABomAndAllSortsWhenNoneNamed) {
    const std::string text =
        "\xEF\xBB\xBFkorvel-board=1\r\nname=n\r\n# note\r\n\r\nown=7\r\nkeyword=辣条\r\n";
    const auto parsed = board_from_text(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->name, "n");
    EXPECT_EQ(parsed->keywords, std::vector<std::string>{text::utf8_to_gbk("辣条")});
    EXPECT_EQ(parsed->sorts.size(), 5u);
}

TEST(BoardText, RefusesWhatThisVersionDidNotWrite) {
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"", "empty board text"},
        {"name=x\n", "line 1: not a board of format version 1"},
        {"korvel-board=2\nname=x\n", "line 1: not a board of format version 1"},
        {"korvel-board=1\ngoods_name=x\n", "line 2: goods_name before any own or competitor line"},
        {"korvel-board=1\ncategory_name=x\n", "line 2: category_name before any category line"},
        {"korvel-board=1\nsorts=default,fastest\n", "line 2: unknown sort order in"},
        {"korvel-board=1\nown=1\ncolour=red\n", "line 3: unknown key 'colour'"},
        {"korvel-board=1\nname\n", "line 2: no '=' in line"},
        {"korvel-board=1\nname=a\\qb\n", "line 2: broken escape in value"},
        {"korvel-board=1\nname=a\\\n", "line 2: broken escape in value"},
        {"korvel-board=1\nnew_goods=yes\n", "line 2: new_goods is neither 0 nor 1"},
        {"korvel-board=1\nreport=9:00\n", "line 2: report is not a time of day (HH:MM)"},
    };
    for (const Row& row : rows) {
        std::string error;
        EXPECT_FALSE(board_from_text(row.text, &error)) << row.text;
        EXPECT_EQ(error.rfind(row.error, 0), 0u) << row.text << " gave " << error;
    }
}

}  // namespace
