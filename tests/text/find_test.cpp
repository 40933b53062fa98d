#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/codepage.h"
#include "text/primitives.h"

namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::string needle;
    int start;
    bool ignore_case;
    int expected;
};

class FindTable : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTable, GivesPosition) {
    const FindCase& c = GetParam();
    EXPECT_EQ(text::find(c.text, c.needle, c.start, c.ignore_case), c.expected) << c.name;
}

// "\xD6\xD0" is a double-byte character whose trail byte is not ASCII;
// "\x81\x41" one whose trail byte is the letter A.
INSTANTIATE_TEST_SUITE_P(
    Text, FindTable,
    ::testing::Values(FindCase{"first", "abcabc", "bc", 1, false, 2},
                      FindCase{"from start", "abcabc", "bc", 3, false, 5},
                      FindCase{"start below one", "abcabc", "bc", -5, false, 2},
                      FindCase{"start past end", "abc", "c", 4, false, -1},
                      FindCase{"absent", "abc", "x", 1, false, -1},
                      FindCase{"case counts", "ABC", "b", 1, false, -1},
                      FindCase{"case ignored", "ABC", "b", 1, true, 2},
                      FindCase{"needle case ignored", "abc", "BC", 1, true, 2},
                      FindCase{"empty needle", "abc", "", 1, false, 1},
                      FindCase{"empty needle late start", "abc", "", 3, false, 1},
                      FindCase{"empty needle past end", "abc", "", 4, false, -1},
                      FindCase{"empty text", "", "", 1, false, -1},
                      FindCase{"after double byte", "\xD6\xD0x", "x", 1, false, 3},
                      FindCase{"trail byte not a start",
                               "\x81\x41"
                               "B",
                               "AB", 1, false, -1},
                      FindCase{"trail byte not a start, case",
                               "\x81\x61"
                               "b",
                               "AB", 1, true, -1},
                      FindCase{"trail then real match",
                               "\x81\x41"
                               "BAB",
                               "AB", 1, false, 4},
                      FindCase{"lone lead at end", "ab\x81", "\x81", 1, false, -1},
                      FindCase{"stepping from start",
                               "\x81\x41"
                               "B",
                               "AB", 2, false, 2},
                      FindCase{"text ends at NUL", std::string("ab\0cd", 5), "cd", 1, false, -1},
                      FindCase{"needle ends at NUL", "abcd", std::string("c\0x", 3), 1, false, 3}));

TEST(Find, StepsOverEveryDoubleByteCharacter) {
    // Four lead bytes in a row are two characters; "\xB0\xA1" at index 1 is
    // the middle of both and must not be found there.
    const std::string t =
        "\xA1\xB0\xA1\xB0"
        "x\xB0\xA1";
    EXPECT_EQ(text::find(t, "\xB0\xA1"), 6);
}

TEST(Find, ChineseNeedle) {
    const std::string t = GBK("商品名称：辣条");
    EXPECT_EQ(text::find(t, GBK("辣条")), 11);
    EXPECT_EQ(text::find(t, GBK("辣条"), 12), -1);
}

TEST(FindLast, GivesLastOccurrence) {
    EXPECT_EQ(text::find_last("abcabc", "bc"), 5);
    EXPECT_EQ(text::find_last("abcabc", "BC", 0, true), 5);
    EXPECT_EQ(text::find_last("abcabc", "x"), -1);
    EXPECT_EQ(text::find_last("aaa", "aa"), 2);  // occurrences may overlap
}

TEST(FindLast, StartLimitsToBytesBeforeIt) {
    EXPECT_EQ(text::find_last("abcabc", "bc", 6), 2);
    EXPECT_EQ(text::find_last("abcabc", "bc", 7), 5);
    EXPECT_EQ(text::find_last("abcabc", "bc", 1), -1);
    EXPECT_EQ(text::find_last("abcabc", "bc", 100), 5);
}

TEST(FindLast, NeverStartsOnTrailByte) {
    EXPECT_EQ(text::find_last("AB\x81"
                              "AB",
                              "AB"),
              1);
    EXPECT_EQ(text::find_last("", "a"), -1);
}

// A reference walk straight from the description: test at every character
// start, step two bytes over a lead byte.
int reference_find(const std::string& t, const std::string& n, bool ignore_case) {
    const auto fold = [&](char c) {
        return (ignore_case && c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    };
    for (std::size_t i = 0; i < t.size();) {
        const bool lead = static_cast<unsigned char>(t[i]) >= 0x80;
        if (lead && i + 1 == t.size()) {
            return -1;
        }
        if (i + n.size() <= t.size()) {
            bool same = true;
            for (std::size_t k = 0; k < n.size() && same; ++k) {
                same = fold(t[i + k]) == fold(n[k]);
            }
            if (same) {
                return static_cast<int>(i + 1);
            }
        }
        i += lead ? 2 : 1;
    }
    return -1;
}

std::string random_gbk(std::mt19937& rng, std::size_t chars) {
    // Few distinct bytes, so that needles are often found, on and off boundaries.
    static const std::string kBytes = "aAbB \x81\xA1\xB0";
    std::uniform_int_distribution<std::size_t> pick(0, kBytes.size() - 1);
    std::string s;
    for (std::size_t i = 0; i < chars; ++i) {
        s += kBytes[pick(rng)];
    }
    return s;
}

bool on_character_start(const std::string& t, int position) {
    std::size_t i = 0;
    while (i + 1 < static_cast<std::size_t>(position)) {
        i += static_cast<unsigned char>(t[i]) >= 0x80 ? 2 : 1;
    }
    return i + 1 == static_cast<std::size_t>(position);
}

TEST(FindProperty, MatchesReferenceAndNeverStartsOnTrailByte) {
    std::mt19937 rng(20240611);
    int found = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::string t = random_gbk(rng, 1 + rng() % 40);
        const std::string n = random_gbk(rng, 1 + rng() % 3);
        const bool ignore_case = (rng() & 1U) != 0;
        const int at = text::find(t, n, 1, ignore_case);
        ASSERT_EQ(at, reference_find(t, n, ignore_case)) << t << " / " << n;
        if (at != -1) {
            ++found;
            ASSERT_TRUE(on_character_start(t, at));
        }
    }
    EXPECT_GT(found, 1000);  // the property was exercised, not vacuous
}

TEST(FindProperty, SameResultAsPlainFindOnAsciiText) {
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string t;
        std::string n;
        for (int i = 0, len = 1 + static_cast<int>(rng() % 60); i < len; ++i) {
            t += static_cast<char>('a' + rng() % 3);
        }
        for (int i = 0, len = 1 + static_cast<int>(rng() % 3); i < len; ++i) {
            n += static_cast<char>('a' + rng() % 3);
        }
        const auto plain = t.find(n);
        ASSERT_EQ(text::find(t, n), plain == std::string::npos ? -1 : static_cast<int>(plain) + 1);
    }
}

}  // namespace
