#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/codepage.h"
#include "text/primitives.h"

namespace {

const std::string kFullWidthSpace = "\xA1\xA1";

struct EditCase {
    const char* name;
    std::string result;
    std::string expected;
};

class EditTable : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditTable, GivesText) {
    EXPECT_EQ(GetParam().result, GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Trim, EditTable,
    ::testing::Values(
        EditCase{"both", text::trim("  a b  "), "a b"},
        EditCase{"full-width both", text::trim(kFullWidthSpace + " a" + kFullWidthSpace), "a"},
        EditCase{"leading", text::trim_leading("  a  "), "a  "},
        EditCase{"trailing", text::trim_trailing("  a  "), "  a"},
        EditCase{"all spaces", text::trim(" " + kFullWidthSpace + " "), ""},
        EditCase{"lone A1 before lead byte", text::trim("\xA1\xB0\xA1"), "\xA1\xB0\xA1"},
        // "\xB0\xA1" is one character; the A1 A1 bytes at its end are no space.
        EditCase{"A1 pair across characters", text::trim_trailing("\xB0\xA1\xA1"), "\xB0\xA1\xA1"},
        EditCase{"trailing lone A1", text::trim_trailing("a \xA1"), "a \xA1"},
        EditCase{"remove all", text::remove_spaces(" a" + kFullWidthSpace + "b c "), "abc"},
        EditCase{"remove keeps characters", text::remove_spaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1"}));

INSTANTIATE_TEST_SUITE_P(Case, EditTable,
                         ::testing::Values(EditCase{"upper", text::to_upper("aBc1"), "ABC1"},
                                           EditCase{"lower", text::to_lower("aBc1"), "abc1"},
                                           EditCase{"upper skips trail byte",
                                                    text::to_upper("\x81\x61"
                                                                   "a"),
                                                    "\x81\x61"
                                                    "A"},
                                           EditCase{"lower skips trail byte",
                                                    text::to_lower("\x81\x41"
                                                                   "A"),
                                                    "\x81\x41"
                                                    "a"},
                                           EditCase{"lone lead at end", text::to_upper("a\x81"),
                                                    "A\x81"}));

INSTANTIATE_TEST_SUITE_P(
    Replace, EditTable,
    ::testing::Values(
        EditCase{"all", text::replace_substring("a-b-c", "-", "+"), "a+b+c"},
        EditCase{"delete", text::replace_substring("a-b-c", "-"), "abc"},
        EditCase{"from start", text::replace_substring("a-b-c", "-", "+", 3), "a-b+c"},
        EditCase{"maximum", text::replace_substring("a-b-c", "-", "+", 1, 1), "a+b-c"},
        EditCase{"maximum zero", text::replace_substring("a-b", "-", "+", 1, 0), "a-b"},
        EditCase{"case counts", text::replace_substring("aXx", "x", "y"), "aXy"},
        EditCase{"case ignored", text::replace_substring("aXx", "x", "y", 1, -1, false), "ayy"},
        EditCase{"no overlap", text::replace_substring("aaa", "aa", "b"), "ba"},
        EditCase{"inserted text not rescanned", text::replace_substring("ab", "a", "aa"), "aab"},
        EditCase{"empty needle", text::replace_substring("abc", "", "x"), "abc"},
        EditCase{"start past end", text::replace_substring("abc", "c", "x", 9), "abc"},
        EditCase{"trail byte kept",
                 text::replace_substring("\x81\x41"
                                         "A",
                                         "A", "z"),
                 "\x81\x41"
                 "z"},
        EditCase{"at position", text::replace_at("abcdef", 2, 3, "X"), "aXef"},
        EditCase{"at position delete", text::replace_at("abcdef", 2, 3), "aef"},
        EditCase{"at position long span", text::replace_at("abc", 2, 99, "X"), "aX"},
        EditCase{"at position past end", text::replace_at("abc", 9, 1, "X"), "abcX"},
        EditCase{"at position zero length", text::replace_at("abc", 2, 0, "X"), "aXbc"}));

TEST(Compare, ZeroWhenEqual) {
    EXPECT_EQ(text::compare("GET", "GET"), 0);
    EXPECT_NE(text::compare("GET", "get"), 0);
    EXPECT_EQ(text::compare("GET", "get", false), 0);
    EXPECT_EQ(text::compare("", std::string("\0x", 2)), 0);  // absent equals empty
}

TEST(Compare, SignOfFirstDifference) {
    EXPECT_LT(text::compare("abc", "abd"), 0);
    EXPECT_GT(text::compare("abd", "abc"), 0);
    EXPECT_LT(text::compare("ab", "abc"), 0);
    EXPECT_GT(text::compare("\xB0\xA1", "a"), 0);  // bytes compare unsigned
}

TEST(Compare, IgnoringCaseKeepsDoubleByteCharactersApart) {
    // Two different characters whose trail bytes differ only in letter case.
    EXPECT_NE(text::compare("\x81\x41", "\x81\x61", false), 0);
}

struct NumberCase {
    std::string text;
    double expected;
};

class ToNumberTable : public ::testing::TestWithParam<NumberCase> {};

TEST_P(ToNumberTable, ReadsLeadingNumber) {
    EXPECT_DOUBLE_EQ(text::to_number(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Text, ToNumberTable,
    ::testing::Values(NumberCase{"42", 42}, NumberCase{"-7", -7}, NumberCase{"+3", 3},
                      NumberCase{"2.5kg", 2.5}, NumberCase{"  12", 12}, NumberCase{"abc", 0},
                      NumberCase{"", 0}, NumberCase{"-", 0}, NumberCase{"inf", 0},
                      NumberCase{"nan", 0}, NumberCase{"12,5", 12},
                      NumberCase{"\xA3\xB1\xA3\xB2", 12},  // full-width 1 2
                      NumberCase{"\xA3\xAD\xA3\xB5", -5},  // full-width minus 5
                      NumberCase{"\xA3\xAB\xA3\xB7\xA3\xAE\xA3\xB5", 7.5},
                      NumberCase{"\xA3\xB1\xA3\xAC\xA3\xB2", 1},  // full-width comma stops
                      NumberCase{"\xA1\xA1"
                                 "8",
                                 8}));

std::string random_gbk_text(std::mt19937& rng) {
    static const std::string kBytes = "aZz \x81\xA1\xB0\x61\x41";
    std::string s;
    for (std::size_t i = 0, n = rng() % 30; i < n; ++i) {
        s += kBytes[rng() % kBytes.size()];
    }
    return s;
}

// The double-byte characters of a text, with their byte offsets from the end
// of the text (trimming changes offsets from the start).
std::vector<std::string> double_byte_characters(const std::string& t) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < t.size();) {
        const bool lead = static_cast<unsigned char>(t[i]) >= 0x80 && i + 1 < t.size();
        if (lead && t.compare(i, 2, "\xA1\xA1") != 0) {
            out.push_back(t.substr(i, 2));
        }
        i += lead ? 2 : 1;
    }
    return out;
}

TEST(EditProperty, TrimAndCaseNeverAlterDoubleByteCharacters) {
    std::mt19937 rng(99);
    int with_double_byte = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string t = random_gbk_text(rng);
        const auto chars = double_byte_characters(t);
        with_double_byte += chars.empty() ? 0 : 1;
        ASSERT_EQ(double_byte_characters(text::to_upper(t)), chars) << t;
        ASSERT_EQ(double_byte_characters(text::to_lower(t)), chars) << t;
        ASSERT_EQ(double_byte_characters(text::trim(t)), chars) << t;
        ASSERT_EQ(text::to_upper(t).size(), t.size());
        const std::string trimmed = text::trim(t);
        ASSERT_NE(t.find(trimmed), std::string::npos);  // trimming only cuts the ends
    }
    EXPECT_GT(with_double_byte, 10000);
}

}  // namespace
