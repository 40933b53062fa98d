#include "catalogue/response_parsing.h"

#include <gtest/gtest.h>

#include "catalogue/category_line.h"
#include "text/codepage.h"

namespace catalogue {
namespace {

std::string lines(std::initializer_list<std::pair<std::string, std::string>> entries) {
    std::string out;
    for (const auto& [name, id] : entries)
        out += category_line(name, id);
    return out;
}

struct PageCase {
    const char* label;
    std::string body;  // UTF-8, as served
    std::string buffer;
};

class Level1Page : public ::testing::TestWithParam<PageCase> {};

TEST_P(Level1Page, GivesTheCategoryBuffer) {
    EXPECT_EQ(level1_buffer_from_page(GetParam().body), GetParam().buffer) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(
    Pages, Level1Page,
    ::testing::Values(PageCase{"entity and dashes",
                               "<p>yiji女装&mdash;12----男装—13\r\n童装&mdash;14mulu</p>",
                               GBK("女装—12\r\n男装—13\r\n童装—14")},
                      PageCase{"markers and entity in capitals",
                               "YIJI女装&MDASH;12----男装&Mdash;13MULU", GBK("女装—12\r\n男装—13")},
                      PageCase{"no start marker", "女装&mdash;12mulu", ""},
                      PageCase{"end marker only before start", "mulu yiji女装&mdash;12", ""},
                      PageCase{"empty body", "", ""},
                      PageCase{"first start marker counts", "yijiA&mdash;1mulu yijiB&mdash;2mulu",
                               "A\xA1\xAA"
                               "1"},
                      PageCase{"other entities kept", "yijiA&amp;B&mdash;1----mulu",
                               "A&amp;B\xA1\xAA"
                               "1\r\n"}));

TEST(GroupResponse, TakesEntriesBetweenOptInfosAndDebugInfoInOrder) {
    const std::string body =
        R"({"head":{"id":1,"priority":1,"opt_name":"before"},"opt_infos":[)"
        R"({"id":15,"priority":3,"opt_name":"女装"},{"id":16,"priority":2,"opt_name":"男装"},)"
        R"({"id":17,"priority":1,"opt_name":"童装"}],"debugInfo":{"id":9,"priority":1,"opt_name":"after"}})";
    EXPECT_EQ(group_lines_from_response(body),
              lines({{GBK("女装"), "15"}, {GBK("男装"), "16"}, {GBK("童装"), "17"}}));
}

TEST(GroupResponse, KeepsEntitiesAndJsonEscapesVerbatim) {
    const std::string body = R"("opt_infos":[{"id":15,"priority":3,"opt_name":"A&amp;B\u5973\/x"},)"
                             R"({"id":16,"priority":2,"opt_name":""}],"debugInfo")";
    EXPECT_EQ(group_lines_from_response(body), lines({{"A&amp;B\\u5973\\/x", "15"}, {"", "16"}}));
}

TEST(GroupResponse, DecodesPercentEscapes) {
    const std::string body =
        R"("opt_infos":[{"id":15,"priority":3,"opt_name":"%E4%B8%AD+1"}]"debugInfo")";
    EXPECT_EQ(group_lines_from_response(body), lines({{GBK("中") + "+1", "15"}}));
}

TEST(GroupResponse, EntriesWrittenOtherwiseAreNotFound) {
    const std::string body =
        R"("opt_infos":[{"id":15, "priority":3,"opt_name":"a"},{"priority":3,"id":16,"opt_name":"b"}],"debugInfo")";
    EXPECT_EQ(group_lines_from_response(body), "");
}

TEST(GroupResponse, BlankWithoutMarkers) {
    EXPECT_EQ(group_lines_from_response(R"({"id":15,"priority":3,"opt_name":"a"})"), "");
    EXPECT_EQ(group_lines_from_response(""), "");
}

TEST(TabResponse, TakesTabsInOrder) {
    const std::string body =
        R"({"list":[{"tab_id":1,"tab":"推荐","subject_id":0},{"tab_id":14,"tab":"女装","subject":"x"},)"
        R"({"tab":"反了","tab_id":5,"subject":""}]})";
    EXPECT_EQ(tab_lines_from_response(body), lines({{GBK("推荐"), "1"}, {GBK("女装"), "14"}}));
}

TEST(TabResponse, KeepsEscapesVerbatim) {
    EXPECT_EQ(tab_lines_from_response(R"("tab_id":3,"tab":"a\u0026b &lt;","subject")"),
              lines({{"a\\u0026b &lt;", "3"}}));
}

TEST(TabResponse, GarbageGivesNothing) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 151 + 7) % 256);
    EXPECT_EQ(tab_lines_from_response(garbage), "");
    EXPECT_EQ(group_lines_from_response(garbage), "");
    EXPECT_EQ(level1_buffer_from_page(garbage), "");
}

}  // namespace
}  // namespace catalogue
