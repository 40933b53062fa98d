#include "ranking/result_texts.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

using ranking::QueryKind;
using ranking::ResultWrite;
using ranking::RunOutcome;
using ranking::RunResult;
using Mode = ResultWrite::Mode;
using Fail = ranking::FailReason;

const RunOutcome kNotFound = RunOutcome::not_in_top_1000();

TEST(KeywordProgress, EachPageShortensOnlyTheRunningKeywordsLine) {
    EXPECT_EQ(ranking::keyword_progress_line(GBK("辣条")), GBK("关键词：辣条  查询中……"));
    const std::string box = GBK("关键词：a  第3名\r\n\r\n关键词：b  查询中……");
    const std::string after_one = ranking::keyword_after_page(box, "b");
    EXPECT_EQ(after_one, GBK("关键词：a  第3名\r\n\r\n关键词：b  查询中…"));
    EXPECT_EQ(ranking::keyword_after_page(after_one, "b"), after_one);
}

struct KeywordCase {
    const char* name;
    const char* box;  // UTF-8, the box before the run is reported
    std::string keyword;
    RunOutcome outcome;
    const char* written;
};

// Rows show as their name in test output.
void PrintTo(const KeywordCase& c, std::ostream* os) {
    *os << c.name;
}

class KeywordResult : public testing::TestWithParam<KeywordCase> {};

TEST_P(KeywordResult, RewritesTheRunningLineAndAddsABlankLine) {
    const KeywordCase& c = GetParam();
    const RunResult result{QueryKind::keyword, 1, c.keyword, "42", c.outcome};
    const ResultWrite w = ranking::result_write(result, text::utf8_to_gbk(c.box));
    EXPECT_EQ(w.mode, Mode::set);
    EXPECT_EQ(text::gbk_to_utf8(w.text), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeywordResult,
    testing::Values(KeywordCase{"Found", "关键词：k  查询中…", "k", RunOutcome::found_at(15),
                                "关键词：k  第15名\r\n\r\n"},
                    KeywordCase{"EmptyKeywordNotFound", "关键词：  查询中…", "", kNotFound,
                                "关键词：  前1000名没有找到\r\n\r\n"},
                    KeywordCase{"SameKeywordTwice", "关键词：k  第2名\r\n\r\n关键词：k  查询中…",
                                "k", kNotFound,
                                "关键词：k  第2名\r\n\r\n关键词：k  前1000名没有找到\r\n\r\n"},
                    // A run that failed on page 1 never shortened its line.
                    KeywordCase{"FailedBeforeAnyPage", "关键词：k  查询中……", "k",
                                RunOutcome::failed(Fail::connect),
                                "关键词：k  查询失败（无法连接服务器）\r\n\r\n"},
                    KeywordCase{"FailedOnPageTwo", "关键词：k  查询中…", "k",
                                RunOutcome::failed(Fail::http_status, 503),
                                "关键词：k  查询失败（服务器返回错误 503）\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct LineCase {
    RunResult result;
    Mode mode;
    const char* text;  // UTF-8
};

class RunResultLine : public testing::TestWithParam<LineCase> {};

TEST_P(RunResultLine, IsWrittenAsTheTableSays) {
    const ResultWrite w = ranking::result_write(GetParam().result, "ignored");
    EXPECT_EQ(w.mode, GetParam().mode);
    EXPECT_EQ(text::gbk_to_utf8(w.text), GetParam().text);
}

RunResult category(int level, RunOutcome outcome) {
    return {QueryKind::category, level, "", "9", outcome};
}

RunResult single(QueryKind kind, std::string goods_id, RunOutcome outcome) {
    return {kind, 1, "", std::move(goods_id), outcome};
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunResultLine,
    testing::Values(
        LineCase{category(1, RunOutcome::found_at(7)), Mode::append, "一级类目排名：第7名\r\n\r\n"},
        LineCase{category(2, RunOutcome::found_at(512)), Mode::append,
                 "二级类目排名：第512名\r\n\r\n"},
        LineCase{category(3, kNotFound), Mode::append, "三级类目排名：前1000名没有找到\r\n\r\n"},
        LineCase{category(1, RunOutcome::failed(Fail::timeout)), Mode::append,
                 "一级类目排名：查询失败（请求超时）\r\n\r\n"},
        LineCase{category(2, RunOutcome::failed(Fail::unreadable)), Mode::append,
                 "二级类目排名：查询失败（返回内容无法识别）\r\n\r\n"},
        LineCase{category(3, RunOutcome::failed(Fail::no_goods_id)), Mode::append,
                 "三级类目排名：查询失败（未取得商品ID）\r\n\r\n"},
        LineCase{single(QueryKind::ishopping, "9", RunOutcome::found_at(33)), Mode::append,
                 "爱逛街排名：第33名\r\n\r\n"},
        LineCase{single(QueryKind::ishopping, "4033138", kNotFound), Mode::set,
                 "商品ID：4033138  前1000名没有找到\r\n\r\n"},
        LineCase{single(QueryKind::ishopping, "7", RunOutcome::failed(Fail::http_status, 404)),
                 Mode::set, "商品ID：7  查询失败（服务器返回错误 404）\r\n\r\n"},
        LineCase{single(QueryKind::new_goods, "9", RunOutcome::found_at(1000)), Mode::append,
                 "新品排名：第1000名\r\n\r\n"},
        LineCase{single(QueryKind::new_goods, "", kNotFound), Mode::set,
                 "商品ID：  前1000名没有找到\r\n\r\n"},
        LineCase{single(QueryKind::new_goods, "", RunOutcome::failed(Fail::no_goods_id)), Mode::set,
                 "商品ID：  查询失败（未取得商品ID）\r\n\r\n"}));

}  // namespace
