#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/codepage.h"
#include "text/primitives.h"

namespace {

using Pieces = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string text;
    std::string delimiter;
    int max_pieces;
    Pieces expected;
};

class SplitTable : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTable, GivesPieces) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(text::split(c.text, c.delimiter, c.max_pieces), c.expected) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Text, SplitTable,
    ::testing::Values(SplitCase{"plain", "a,b,c", ",", -1, {"a", "b", "c"}},
                      SplitCase{"empty pieces kept", "a,,b", ",", -1, {"a", "", "b"}},
                      SplitCase{"leading empty kept", ",a", ",", -1, {"", "a"}},
                      SplitCase{"trailing empty dropped", "a,b,", ",", -1, {"a", "b"}},
                      SplitCase{"only last empty dropped", "a,,", ",", -1, {"a", ""}},
                      SplitCase{"empty delimiter", "a,b", "", -1, {"a,b"}},
                      SplitCase{"empty text", "", ",", -1, {}},
                      SplitCase{"maximum", "a,b,c,d", ",", 2, {"a", "b"}},
                      SplitCase{"maximum zero", "a,b", ",", 0, {}},
                      SplitCase{"multi-byte delimiter", "a<>b<>c", "<>", -1, {"a", "b", "c"}},
                      SplitCase{"case exact", "aXbxc", "x", -1, {"aXb", "c"}},
                      SplitCase{
                          "trail byte is no delimiter", "\x81,a,b", ",", -1, {"\x81,a", "b"}}));

TEST(Split, ChineseDelimiter) {
    const std::string list = GBK("甲—1—乙");
    EXPECT_EQ(text::split(list, GBK("—")), (Pieces{GBK("甲"), "1", GBK("乙")}));
}

struct SliceCase {
    const char* name;
    std::string result;
    std::string expected;
};

class SliceTable : public ::testing::TestWithParam<SliceCase> {};

TEST_P(SliceTable, GivesBytes) {
    EXPECT_EQ(GetParam().result, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Text, SliceTable,
    ::testing::Values(SliceCase{"left", text::left("abcdef", 2), "ab"},
                      SliceCase{"left zero", text::left("abc", 0), ""},
                      SliceCase{"left negative", text::left("abc", -1), ""},
                      SliceCase{"left beyond", text::left("abc", 9), "abc"},
                      SliceCase{"right", text::right("abcdef", 2), "ef"},
                      SliceCase{"right zero", text::right("abc", 0), ""},
                      SliceCase{"right beyond", text::right("abc", 9), "abc"},
                      SliceCase{"middle", text::middle("abcdef", 2, 3), "bcd"},
                      SliceCase{"middle to end", text::middle("abcdef", 5, 9), "ef"},
                      SliceCase{"middle start zero", text::middle("abc", 0, 2), ""},
                      SliceCase{"middle start past end", text::middle("abc", 4, 1), ""},
                      SliceCase{"middle count zero", text::middle("abc", 1, 0), ""},
                      SliceCase{"stops at NUL", text::right(std::string("ab\0cd", 5), 2), "ab"},
                      SliceCase{"blank", text::blank(3), "   "},
                      SliceCase{"blank negative", text::blank(-2), ""},
                      SliceCase{"decimal", text::decimal_text(503), "503"},
                      SliceCase{"decimal negative", text::decimal_text(-42), "-42"},
                      SliceCase{"decimal zero", text::decimal_text(0), "0"},
                      SliceCase{"hex", text::hex_text(0xE8), "E8"},
                      SliceCase{"hex single digit", text::hex_text(9), "9"},
                      SliceCase{"hex zero", text::hex_text(0), "0"},
                      SliceCase{"hex negative", text::hex_text(-1), "FFFFFFFFFFFFFFFF"}));

TEST(BoolText, TrueAndFalseInChinese) {
    EXPECT_EQ(text::bool_text(true), GBK("真"));
    EXPECT_EQ(text::bool_text(false), GBK("假"));
    EXPECT_EQ(text::bool_text(true), "\xD5\xE6");
}

TEST(Length, CountsBytesUpToNul) {
    EXPECT_EQ(text::length(GBK("中a")), 3);
    EXPECT_EQ(text::length(std::string("ab\0c", 4)), 2);
    EXPECT_EQ(text::as_text(std::string("ab\0c", 4)), "ab");
}

}  // namespace
