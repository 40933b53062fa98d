// What a korvel-check run will read, decided from its options.
#include <gtest/gtest.h>

#include <ostream>

#include "board/check_plan.h"
#include "check_plan.h"
#include "text/codepage.h"

namespace {

using ranking::QueryKind;

const std::string kDomainWord = "goods2.html";

cli::CheckOptions goods_and(std::vector<std::string> keywords) {
    cli::CheckOptions o;
    o.goods = {"4033138"};
    o.keywords = std::move(keywords);
    return o;
}

std::vector<ranking::Listing> listings(const cli::CheckPlan& plan) {
    return board::plan_checks(plan.listings).listings;
}

std::vector<std::string> labels(const cli::CheckPlan& plan) {
    std::vector<std::string> out;
    for (const ranking::Listing& l : listings(plan))
        out.push_back(cli::listing_label(l));
    return out;
}

TEST(CheckPlan, ListingsComeKeywordsCategoriesTabThenNew) {
    cli::CheckOptions o = goods_and({"辣条", "k2"});
    o.sort = "all";
    o.categories = {"14", "2301"};
    o.tab = "3";
    o.new_goods = true;
    const auto result = cli::make_plan(o, {"从文件"}, kDomainWord);
    ASSERT_TRUE(result.problem.empty()) << result.problem;
    EXPECT_EQ(labels(result.plan),
              (std::vector<std::string>{
                  "辣条 · 综合", "辣条 · 销量", "辣条 · 评分", "辣条 · 价格从低到高",
                  "辣条 · 价格从高到低", "k2 · 综合", "k2 · 销量", "k2 · 评分", "k2 · 价格从低到高",
                  "k2 · 价格从高到低", "从文件 · 综合", "从文件 · 销量", "从文件 · 评分",
                  "从文件 · 价格从低到高", "从文件 · 价格从高到低", "类目 14", "类目 2301",
                  "爱逛街 3", "新品"}));
}

TEST(CheckPlan, KeywordsReachTheEngineInGbkAndOneSortWhenOneIsNamed) {
    cli::CheckOptions o = goods_and({" 辣条大礼包 "});
    o.sort = "price-desc";
    const auto result = cli::make_plan(o, {}, kDomainWord);
    ASSERT_EQ(listings(result.plan).size(), 1u);
    const ranking::Listing planned = listings(result.plan)[0];
    EXPECT_EQ(planned.kind, QueryKind::keyword);
    EXPECT_EQ(planned.key, text::utf8_to_gbk("辣条大礼包"));
    EXPECT_EQ(cli::listing_label(planned), "辣条大礼包 · 价格从高到低");
    ASSERT_TRUE(planned.sort);
    EXPECT_EQ(*planned.sort, ranking::Sort::price_high);
}

TEST(CheckPlan, IdListingsCarryNoSort) {
    cli::CheckOptions o = goods_and({});
    o.categories = {"14"};
    o.tab = "7";
    o.new_goods = true;
    const auto planned = listings(cli::make_plan(o, {}, kDomainWord).plan);
    ASSERT_EQ(planned.size(), 3u);
    for (const auto& listing : planned)
        EXPECT_FALSE(listing.sort) << cli::listing_label(listing);
    EXPECT_EQ(planned[1].kind, QueryKind::ishopping);
    EXPECT_EQ(planned[2].key, "");
}

TEST(CheckPlan, GoodsAreIdsOrLinksTheWayTheWindowTellsThemApart) {
    cli::CheckOptions o = goods_and({"k"});
    o.goods = {" 4033138 ", "http://shop.test/GOODS2.HTML?goods_id=5"};
    o.competitors = {"goods2.html?goods_id=7", "8"};
    const auto result = cli::make_plan(o, {}, kDomainWord);
    ASSERT_TRUE(result.problem.empty()) << result.problem;
    ASSERT_EQ(result.plan.own.size(), 2u);
    EXPECT_EQ(result.plan.own[0].typed, "4033138");
    EXPECT_FALSE(result.plan.own[0].is_link);
    EXPECT_TRUE(result.plan.own[1].is_link);
    ASSERT_EQ(result.plan.competitors.size(), 2u);
    EXPECT_TRUE(result.plan.competitors[0].is_link);
    EXPECT_FALSE(result.plan.competitors[1].is_link);
}

TEST(CheckPlan, AListingNamedTwiceIsReadOnce) {
    cli::CheckOptions o = goods_and({"辣条", "辣条"});
    o.categories = {"14", "14"};
    EXPECT_EQ(labels(cli::make_plan(o, {"辣条"}, kDomainWord).plan),
              (std::vector<std::string>{"辣条 · 综合", "类目 14"}));
}

TEST(CheckPlan, TheDomainWordComesFromTheSettings) {
    cli::CheckOptions o = goods_and({"k"});
    o.goods = {"http://shop.test/item.htm?id=5"};
    EXPECT_FALSE(cli::make_plan(o, {}, kDomainWord).problem.empty());
    const auto result = cli::make_plan(o, {}, "item.htm");
    ASSERT_TRUE(result.problem.empty()) << result.problem;
    EXPECT_TRUE(result.plan.own[0].is_link);
}

struct ProblemCase {
    const char* name;
    std::vector<std::string> goods;
    std::vector<std::string> competitors;
    std::vector<std::string> keywords;
    std::vector<std::string> categories;
    std::vector<std::string> file_keywords;
};

// Test names and failure messages show the case name, not its bytes.
void PrintTo(const ProblemCase& c, std::ostream* os) {
    *os << c.name;
}

class CheckPlanProblem : public ::testing::TestWithParam<ProblemCase> {};

TEST_P(CheckPlanProblem, IsAUsageError) {
    const ProblemCase& c = GetParam();
    cli::CheckOptions o;
    o.goods = c.goods;
    o.competitors = c.competitors;
    o.keywords = c.keywords;
    o.categories = c.categories;
    const auto result = cli::make_plan(o, c.file_keywords, kDomainWord);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_EQ(result.problem.find('\n'), std::string::npos) << result.problem;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckPlanProblem,
    ::testing::Values(ProblemCase{"GoodsNeitherIdNorLink", {"abc"}, {}, {"k"}, {}, {}},
                      ProblemCase{"EmptyGoods", {" "}, {}, {"k"}, {}, {}},
                      ProblemCase{"CompetitorNeitherIdNorLink", {"1"}, {"x1"}, {"k"}, {}, {}},
                      ProblemCase{"EmptyKeyword", {"1"}, {}, {"  "}, {}, {}},
                      ProblemCase{"KeywordNotUtf8", {"1"}, {}, {"\xC0\xAF"}, {}, {}},
                      ProblemCase{"KeywordOutsideGbk", {"1"}, {}, {"辣条🌶"}, {}, {}},
                      ProblemCase{"KeywordWithLineBreak", {"1"}, {}, {"a\nb"}, {}, {}},
                      ProblemCase{"FileKeywordOutsideGbk", {"1"}, {}, {}, {}, {"한국어"}},
                      ProblemCase{"CategoryNotANumber", {"1"}, {}, {}, {"14a"}, {}},
                      ProblemCase{"KeywordsFileWithoutKeywords", {"1"}, {}, {}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
