#include "ranking/result_texts.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

using ranking::QueryKind;
using ranking::ResultWrite;
using ranking::RunResult;
using Mode = ResultWrite::Mode;

TEST(KeywordProgress, LineWhenTheRunStarts) {
    EXPECT_EQ(ranking::keyword_progress_line(GBK("辣条")), GBK("关键词：辣条  查询中……"));
}

TEST(KeywordProgress, FirstPageLeavesOneEllipsis) {
    const std::string box = GBK("关键词：辣条  查询中……");
    EXPECT_EQ(ranking::keyword_after_page(box, GBK("辣条")), GBK("关键词：辣条  查询中…"));
}

TEST(KeywordProgress, SecondPageChangesNothing) {
    const std::string box = GBK("关键词：辣条  查询中…");
    EXPECT_EQ(ranking::keyword_after_page(box, GBK("辣条")), box);
}

TEST(KeywordProgress, OnlyTheRunningKeywordsLineChanges) {
    const std::string box = GBK("关键词：a  第3名\r\n\r\n关键词：b  查询中……");
    EXPECT_EQ(ranking::keyword_after_page(box, "b"),
              GBK("关键词：a  第3名\r\n\r\n关键词：b  查询中…"));
}

TEST(KeywordResult, FoundRewritesTheLineAndAddsABlankLine) {
    RunResult r{QueryKind::keyword, 1, GBK("辣条"), "42", 15};
    const ResultWrite w = ranking::result_write(r, GBK("关键词：辣条  查询中…"));
    EXPECT_EQ(w.mode, Mode::set);
    EXPECT_EQ(w.text, GBK("关键词：辣条  第15名\r\n\r\n"));
}

TEST(KeywordResult, EmptyKeywordNotFound) {
    RunResult r{QueryKind::keyword, 1, "", "42", std::nullopt};
    const ResultWrite w = ranking::result_write(r, GBK("关键词：  查询中…"));
    EXPECT_EQ(w.text, GBK("关键词：  前1000名没有找到\r\n\r\n"));
}

TEST(KeywordResult, SameKeywordTwiceTouchesOnlyTheRunningLine) {
    const std::string box = GBK("关键词：k  第2名\r\n\r\n关键词：k  查询中…");
    RunResult r{QueryKind::keyword, 1, "k", "42", std::nullopt};
    EXPECT_EQ(ranking::result_write(r, box).text,
              GBK("关键词：k  第2名\r\n\r\n关键词：k  前1000名没有找到\r\n\r\n"));
}

struct LineCase {
    RunResult result;
    Mode mode;
    std::string text;
};

class RunResultLine : public testing::TestWithParam<LineCase> {};

TEST_P(RunResultLine, IsWrittenAsTheTableSays) {
    const ResultWrite w = ranking::result_write(GetParam().result, "ignored");
    EXPECT_EQ(w.mode, GetParam().mode);
    EXPECT_EQ(w.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, RunResultLine,
                         testing::Values(LineCase{{QueryKind::category, 1, "", "9", 7},
                                                  Mode::append,
                                                  GBK("一级类目排名：第7名\r\n\r\n")},
                                         LineCase{{QueryKind::category, 2, "", "9", 512},
                                                  Mode::append,
                                                  GBK("二级类目排名：第512名\r\n\r\n")},
                                         LineCase{{QueryKind::category, 3, "", "9", 1},
                                                  Mode::append,
                                                  GBK("三级类目排名：第1名\r\n\r\n")},
                                         LineCase{{QueryKind::category, 1, "", "9", std::nullopt},
                                                  Mode::append,
                                                  GBK("一级类目排名：前1000名没有找到\r\n\r\n")},
                                         LineCase{{QueryKind::category, 2, "", "9", std::nullopt},
                                                  Mode::append,
                                                  GBK("二级类目排名：前1000名没有找到\r\n\r\n")},
                                         LineCase{{QueryKind::category, 3, "", "9", std::nullopt},
                                                  Mode::append,
                                                  GBK("三级类目排名：前1000名没有找到\r\n\r\n")},
                                         LineCase{{QueryKind::ishopping, 1, "", "9", 33},
                                                  Mode::append,
                                                  GBK("爱逛街排名：第33名\r\n\r\n")},
                                         LineCase{
                                             {QueryKind::ishopping, 1, "", "4033138", std::nullopt},
                                             Mode::set,
                                             GBK("商品ID：4033138  前1000名没有找到\r\n\r\n")},
                                         LineCase{{QueryKind::ishopping, 1, "", "", std::nullopt},
                                                  Mode::set,
                                                  GBK("商品ID：  前1000名没有找到\r\n\r\n")},
                                         LineCase{{QueryKind::new_goods, 1, "", "9", 1000},
                                                  Mode::append,
                                                  GBK("新品排名：第1000名\r\n\r\n")},
                                         LineCase{{QueryKind::new_goods, 1, "", "77", std::nullopt},
                                                  Mode::set,
                                                  GBK("商品ID：77  前1000名没有找到\r\n\r\n")}));

}  // namespace
