#include <gtest/gtest.h>

#include <string>

#include "text/codepage.h"
#include "text/lines.h"

namespace {

struct CountCase {
    std::string list;
    int expected;
};

class LineCountTable : public ::testing::TestWithParam<CountCase> {};

TEST_P(LineCountTable, CountsEntries) {
    EXPECT_EQ(text::line_count(GetParam().list), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Lines, LineCountTable,
                         ::testing::Values(CountCase{"a\r\nb", 2}, CountCase{"a\r\n", 1},
                                           CountCase{"a\r\n\r\nb", 3}, CountCase{"\r\n", 1},
                                           CountCase{"", 0}, CountCase{"a", 1},
                                           CountCase{"a\nb", 1}, CountCase{"a\rb", 1},
                                           CountCase{std::string("a\r\n\0b\r\nc", 8), 1}));

TEST(LineAt, GivesEntryOrEmpty) {
    const std::string list = "K1\r\nK2";
    EXPECT_EQ(text::line_at(list, 1), "K1");
    EXPECT_EQ(text::line_at(list, 2), "K2");
    EXPECT_EQ(text::line_at(list, 0), "");
    EXPECT_EQ(text::line_at(list, -1), "");
    EXPECT_EQ(text::line_at(list, 3), "");
    EXPECT_EQ(text::line_at("a\r\n\r\nb", 2), "");
    EXPECT_EQ(text::line_at("a\r\n\r\nb", 3), "b");
}

TEST(LineAt, DoubleByteCharactersAreOneUnit) {
    const std::string list = GBK("辣条\r\n薯片");
    EXPECT_EQ(text::line_at(list, 2), GBK("薯片"));
    // A lead byte swallows the CR as its trail byte, so no line break is there.
    EXPECT_EQ(text::line_count("\x81\r\nx"), 1);
}

TEST(RemoveLine, DropsEntryAndRejoins) {
    const std::string list = "K1\r\nK2";
    EXPECT_EQ(text::remove_line(list, 1), "K2");
    EXPECT_EQ(text::line_count(text::remove_line(list, 1)), 1);
    EXPECT_EQ(text::remove_line("a\r\nb\r\nc", 2), "a\r\nc");
    EXPECT_EQ(text::remove_line("only", 1), "");
}

TEST(RemoveLine, RejoinsEvenWhenNothingDropped) {
    EXPECT_EQ(text::remove_line("a\r\nb\r\n", 0), "a\r\nb");
    EXPECT_EQ(text::remove_line("a\r\nb\r\n", 3), "a\r\nb");
    EXPECT_EQ(text::remove_line("a\r\nb\r\n", -1), "a\r\nb");
    EXPECT_EQ(text::remove_line("\r\n\r\nb", 1), "\r\nb");
}

TEST(MultiReplace, ReplacesEveryOccurrenceIgnoringCase) {
    using P = text::ReplacePair;
    EXPECT_EQ(text::multi_replace("x-y-z", {P{"-", "+"}}), "x+y+z");
    EXPECT_EQ(text::multi_replace("abc ABC", {P{"ABC", "1"}}), "1 1");
}

TEST(MultiReplace, AppliesPairsInOrder) {
    using P = text::ReplacePair;
    EXPECT_EQ(text::multi_replace("ab", {P{"a", "b"}, P{"b", "c"}}), "cc");
    EXPECT_EQ(text::multi_replace("ab", {P{"", "x"}, P{"b", "c"}}), "ac");
}

TEST(MultiReplace, StartMaximumAndCase) {
    using P = text::ReplacePair;
    EXPECT_EQ(text::multi_replace("a-b-c-d", {P{"-", "+"}}, 3, -1), "a-b+c+d");
    EXPECT_EQ(text::multi_replace("a-b-c-d", {P{"-", "+"}}, 1, 2), "a+b+c-d");
    EXPECT_EQ(text::multi_replace("aA", {P{"a", "x"}}, 1, -1, true), "xA");
}

TEST(MultiReplace, UsesAtMostFivePairs) {
    using P = text::ReplacePair;
    const std::vector<P> six = {P{"1", "2"}, P{"2", "3"}, P{"3", "4"},
                                P{"4", "5"}, P{"5", "6"}, P{"6", "7"}};
    EXPECT_EQ(text::multi_replace("1", six), "6");
}

TEST(Lines, TenMegabyteList) {
    std::string list;
    for (int i = 0; i < 1000000; ++i) {
        list += "keyword\r\n";  // 9 bytes per line
    }
    list += "last";
    EXPECT_EQ(text::line_count(list), 1000001);
    EXPECT_EQ(text::line_at(list, 1000001), "last");
    EXPECT_EQ(text::remove_line(list, 1).size(), list.size() - 9);
}

}  // namespace
