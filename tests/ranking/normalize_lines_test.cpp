#include "ranking/normalize_lines.h"

#include <gtest/gtest.h>

#include <string>

#include "text/codepage.h"
#include "text/lines.h"

namespace {

struct NormalizeCase {
    const char* name;
    std::string list;
    std::string expected;
};

class NormalizeLines : public ::testing::TestWithParam<NormalizeCase> {};

TEST_P(NormalizeLines, Gives) {
    EXPECT_EQ(ranking::normalize_lines(GetParam().list), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Ranking, NormalizeLines,
    ::testing::Values(
        NormalizeCase{"empty line between", "K1\r\n\r\nK2", "K1\r\nK2"},
        NormalizeCase{"blank-only line between", "K1\r\n  \r\nK2", "K1\r\nK2"},
        NormalizeCase{"several blank lines", "K1\r\n\r\n\t\r\n \r\nK2\r\n\r\nK3", "K1\r\nK2\r\nK3"},
        NormalizeCase{"trailing line break", "K1\r\nK2\r\n", "K1\r\nK2"},
        NormalizeCase{"leading line break", "\r\nK1", "K1"},
        NormalizeCase{"two leading line breaks keep one empty entry", "\r\n\r\nK1", "\r\nK1"},
        NormalizeCase{"only one trailing break dropped", "K1\r\n\r\n", "K1\r\n"},
        NormalizeCase{"spaces inside entries stay", " K 1 \r\n K2", " K 1 \r\n K2"},
        NormalizeCase{"single line break", "\r\n", ""}, NormalizeCase{"empty", "", ""},
        NormalizeCase{"stops at NUL", std::string("K1\r\n\r\nK2\0\r\n", 10), "K1\r\nK2"},
        NormalizeCase{"Chinese keywords", GBK("辣条\r\n\r\n薯片"), GBK("辣条\r\n薯片")},
        // A full-width space is not white space for the pattern; it stays an entry.
        NormalizeCase{"full-width space line", "K1\r\n\xA1\xA1\r\nK2", "K1\r\n\xA1\xA1\r\nK2"}));

TEST(NormalizeLines, ListOfLineBreaksLeavesOneEmptyEntry) {
    const std::string normalized = ranking::normalize_lines("\r\n\r\n\r\n");
    EXPECT_EQ(text::line_count(normalized), 1);
    EXPECT_EQ(text::line_at(normalized, 1), "");
}

TEST(NormalizeLines, BlankLinesGiveNoEntriesOfTheirOwn) {
    const std::string normalized = ranking::normalize_lines("a\r\n\r\n \r\nb\r\n\r\nc\r\n");
    EXPECT_EQ(text::line_count(normalized), 3);
    EXPECT_EQ(text::line_at(normalized, 2), "b");
}

TEST(NormalizeLines, TenMegabyteList) {
    std::string list;
    int keywords = 0;
    while (list.size() < 10'000'000) {
        list += "keyword\r\n  \r\n";
        ++keywords;
    }
    list += "last";
    EXPECT_EQ(text::line_count(ranking::normalize_lines(list)), keywords + 1);
}

}  // namespace
