// The notice list: runs under one heading each, newest first; the filter;
// the CSV a spreadsheet opens as text.
#include "board/notice_list.h"

#include <gtest/gtest.h>

namespace {

history::Notice notice(std::int64_t minute, std::string key, std::string message) {
    history::Notice n;
    n.board = "看板";
    n.time_ms = minute * 60'000;
    n.key = std::move(key);
    n.sort = history::Sort::sales;
    n.kind = "rank_move";
    n.message = std::move(message);
    return n;
}

TEST(NoticeGroups, RunsSplitAtGapsAndRunStartsNewestFirst) {
    const std::vector<history::Notice> notices = {
        notice(0, "辣条", "a"),  notice(3, "辣条", "b"),   // one run
        notice(30, "薯片", "c"),                           // after a long gap
        notice(31, "薯片", "d"), notice(32, "辣条", "e"),  // a run started at minute 31
    };
    const auto groups = board::notice_groups(notices, {31 * 60'000});
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].notices.size(), 2u);
    EXPECT_EQ(groups[0].notices[0].message, "e");  // newest first within a run too
    EXPECT_EQ(groups[1].notices[0].message, "c");
    EXPECT_EQ(groups[2].notices[0].message, "b");
    EXPECT_TRUE(board::group_heading(groups[0]).ends_with(" · 2 条变动"));
    EXPECT_TRUE(board::group_heading(groups[0]).starts_with("看板 · "));
}

TEST(NoticeItemText, TimeAndMessageWithTheGoodsNamedInTheTooltip) {
    auto n = notice(0, "辣条", "辣条 · 销量：第3名 → 第30名");
    n.goods_id = "7";
    const auto item = board::notice_item_text(n, {{"7", "辣条大礼包（零食铺）"}});
    EXPECT_TRUE(item.text.ends_with("  辣条 · 销量：第3名 → 第30名")) << item.text;
    EXPECT_NE(item.tooltip.find("辣条大礼包（零食铺）\n商品ID 7"), std::string::npos)
        << item.tooltip;
}

// Where a notice went is one mark on its line (√ all, … waiting, × one did
// not get it); which channel, when and why in the tooltip.
TEST(NoticeItemText, MarksDeliveryCompactlyAndExplainsItInTheTooltip) {
    const history::Notice n = notice(0, "辣条", "m");
    struct Case {
        std::vector<history::Delivery> deliveries;
        const char* ending;
    };
    const Case cases[] = {
        {{}, "  m"},
        {{{1, "运营群", 1, 60'000, ""}, {1, "邮件", 1, 60'000, ""}}, "m  √"},
        {{{1, "运营群", 1, 60'000, ""}, {1, "邮件", 0, 0, ""}}, "m  …"},
        {{{1, "运营群", 1, 60'000, ""}, {1, "三群", 0, 0, "", "pid-1", 50'000, 1}}, "m  …"},
        {{{1, "运营群", 1, 60'000, ""}, {1, "邮件", 3, 0, "通知通道 邮件：SMTP 554", "", 0, 1}},
         "m  ×"},
    };
    for (const Case& c : cases) {
        const auto item = board::notice_item_text(n, {}, c.deliveries);
        EXPECT_TRUE(item.text.ends_with(c.ending)) << item.text;
        EXPECT_EQ(item.undelivered, std::string(c.ending).ends_with("×"));
    }
    const auto item = board::notice_item_text(n, {}, cases[4].deliveries);
    EXPECT_NE(item.tooltip.find("运营群：已发送"), std::string::npos) << item.tooltip;
    EXPECT_NE(item.tooltip.find("邮件：未送达（尝试 3 次）：通知通道 邮件：SMTP 554"),
              std::string::npos)
        << item.tooltip;
}

// A filtered run keeps its time and count; the top N says its N, 跌出 alone
// is the first 1000's.
TEST(NoticeGroups, HeadingKeepsTheRunsCountWhileFilteredAndKindsSayTheirLimit) {
    const auto groups = board::notice_groups({notice(0, "辣条", "a"), notice(1, "薯片", "b")}, {});
    ASSERT_EQ(groups.size(), 1u);
    EXPECT_TRUE(board::group_heading(groups[0], 1).ends_with(" · 2 条变动（筛选出 1 条）"));
    auto left = notice(0, "辣条", "辣条 · 销量：跌出前20名，第18名 → 第25名（下降7名）");
    left.kind = "left_top";
    EXPECT_NE(board::notice_item_text(left).tooltip.find(" · 跌出前20名"), std::string::npos);
    left.kind = "left_1000";
    EXPECT_NE(board::notice_item_text(left).tooltip.find(" · 跌出前1000名"), std::string::npos);
}

TEST(NoticeMatches, KeywordOrMessage) {
    const auto n = notice(0, "辣条大礼包", "辣条大礼包 · 销量：第3名 → 第30名");
    EXPECT_TRUE(board::notice_matches(n, ""));
    EXPECT_TRUE(board::notice_matches(n, "礼包"));
    EXPECT_FALSE(board::notice_matches(n, "薯片"));
}

TEST(NoticesCsv, BomHeaderAndFormulaFieldsKeptAsText) {
    struct Case {
        std::string field, cell;
    };
    for (const auto& [field, cell] : std::vector<Case>{{"=1+1", "'=1+1"},
                                                       {"+86", "'+86"},
                                                       {"-3", "'-3"},
                                                       {"@x", "'@x"},
                                                       {"\tx", "'\tx"},
                                                       {"\rx", "\"'\rx\""},
                                                       {"辣条", "辣条"}}) {
        const std::string csv = board::notices_csv({notice(0, field, "m")});
        EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF时间,看板,")) << csv;
        EXPECT_NE(csv.find("," + cell + ",,销量,"), std::string::npos) << field << "\n" << csv;
    }
}

}  // namespace
