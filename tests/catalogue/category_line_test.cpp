#include "catalogue/category_line.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace catalogue {
namespace {

using Entries = std::vector<CategoryEntry>;

std::vector<std::string> names(const Entries& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.name);
    return out;
}

std::vector<std::string> ids(const Entries& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries)
        out.push_back(e.id);
    return out;
}

TEST(CategoryLine, SeparatorIsTheGbkFullWidthDash) {
    EXPECT_EQ(category_separator(), "\xA1\xAA");
}

TEST(CategoryLine, LineIsNameDashIdCrLf) {
    EXPECT_EQ(category_line(GBK("女装"), "12"), GBK("女装") + "\xA1\xAA" + "12\r\n");
}

TEST(CategoryLine, TwoLinesGiveNamesAndIdsInOrder) {
    const Entries entries =
        parse_category_lines(category_line(GBK("女装"), "12") + category_line(GBK("男装"), "13"));
    EXPECT_EQ(names(entries), (std::vector<std::string>{GBK("女装"), GBK("男装")}));
    EXPECT_EQ(ids(entries), (std::vector<std::string>{"12", "13"}));
}

struct SkipCase {
    const char* label;
    std::string buffer;
    std::vector<std::string> names;
    std::vector<std::string> ids;
};

class CategoryLineCases : public ::testing::TestWithParam<SkipCase> {};

TEST_P(CategoryLineCases, KeepsBoxAndIdsInStep) {
    const Entries entries = parse_category_lines(GetParam().buffer);
    EXPECT_EQ(names(entries), GetParam().names) << GetParam().label;
    EXPECT_EQ(ids(entries), GetParam().ids) << GetParam().label;
}

const std::string kDash = "\xA1\xAA";

INSTANTIATE_TEST_SUITE_P(
    Buffers, CategoryLineCases,
    ::testing::Values(SkipCase{"empty buffer", "", {}, {}},
                      SkipCase{"only separator and id", kDash + "12\r\n", {""}, {"12"}},
                      SkipCase{"no separator skipped", "abc\r\nx" + kDash + "1\r\n", {"x"}, {"1"}},
                      SkipCase{"empty lines skipped",
                               "\r\n\r\na" + kDash + "1\r\n\r\nb" + kDash + "2",
                               {"a", "b"},
                               {"1", "2"}},
                      SkipCase{"nothing after separator skipped",
                               "a" + kDash + "\r\nb" + kDash + "2\r\n",
                               {"b"},
                               {"2"}},
                      SkipCase{"name holding the dash stays whole",
                               "a" + kDash + "b" + kDash + "7\r\n",
                               {"a" + kDash + "b"},
                               {"7"}},
                      SkipCase{"last line without CR LF", "a" + kDash + "1", {"a"}, {"1"}},
                      SkipCase{"entities and escapes verbatim",
                               "A&amp;B\\u5973" + kDash + "9\r\n",
                               {"A&amp;B\\u5973"},
                               {"9"}},
                      SkipCase{"text ends at NUL",
                               std::string("a") + kDash + "1\r\n" + '\0' + "b" + kDash + "2",
                               {"a"},
                               {"1"}}));

TEST(CategoryLine, DashTrailBytePairIsNotASeparator) {
    // A1 A1 AA: the dash bytes would start on the trail byte of the full-width space.
    const Entries entries = parse_category_lines(
        "x\xA1\xA1\xAA"
        "5\r\n");
    EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace catalogue
