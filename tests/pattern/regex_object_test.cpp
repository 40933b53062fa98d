#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pattern/regex_object.h"
#include "text/codepage.h"

namespace {

using pattern::RegexObject;

TEST(RegexObject, NoMatchStillRuns) {
    RegexObject re;
    EXPECT_TRUE(re.create("x(\\d+)", "abc"));
    EXPECT_EQ(re.match_count(), 0);
    EXPECT_EQ(re.submatch(1, 1), "");
    EXPECT_EQ(re.replace("y"), "abc");
}

TEST(RegexObject, InvalidPatternIsSilent) {
    RegexObject re;
    EXPECT_FALSE(re.create("(unclosed", "unclosed"));
    EXPECT_EQ(re.match_count(), 0);
    EXPECT_EQ(re.submatch(1, 1), "");
    EXPECT_EQ(re.replace("x"), "");
}

TEST(RegexObject, InvalidPatternAfterValidOneForgetsOldMatches) {
    RegexObject re;
    ASSERT_TRUE(re.create("a", "aaa"));
    ASSERT_EQ(re.match_count(), 3);
    EXPECT_FALSE(re.create("[", "aaa"));
    EXPECT_EQ(re.match_count(), 0);
}

TEST(RegexObject, FreshObjectIsEmpty) {
    const RegexObject re;
    EXPECT_EQ(re.match_count(), 0);
    EXPECT_EQ(re.submatch(1, 1), "");
    EXPECT_EQ(re.replace("x"), "");
}

TEST(RegexObject, SubmatchIndexesOutOfRangeGiveEmpty) {
    RegexObject re;
    ASSERT_TRUE(re.create("(\\w)(\\d)", "a1 b2"));
    ASSERT_EQ(re.match_count(), 2);
    EXPECT_EQ(re.submatch(2, 2), "2");
    EXPECT_EQ(re.submatch(0, 1), "");
    EXPECT_EQ(re.submatch(-1, 1), "");
    EXPECT_EQ(re.submatch(3, 1), "");
    EXPECT_EQ(re.submatch(1, 0), "");
    EXPECT_EQ(re.submatch(1, -1), "");
    EXPECT_EQ(re.submatch(1, 3), "");
}

TEST(RegexObject, OptionalGroupThatDidNotTakePartIsEmpty) {
    RegexObject re;
    ASSERT_TRUE(re.create("a(b)?(c)", "ac abc"));
    ASSERT_EQ(re.match_count(), 2);
    EXPECT_EQ(re.submatch(1, 1), "");
    EXPECT_EQ(re.submatch(1, 2), "c");
    EXPECT_EQ(re.submatch(2, 1), "b");
}

TEST(RegexObject, LetterCaseIgnoredByDefault) {
    RegexObject re;
    ASSERT_TRUE(re.create("goods_id", "GOODS_ID Goods_Id"));
    EXPECT_EQ(re.match_count(), 2);
    ASSERT_TRUE(re.create("goods_id", "GOODS_ID", true));
    EXPECT_EQ(re.match_count(), 0);
}

TEST(RegexObject, DotMatchesOneChineseCharacterButNoLineFeed) {
    RegexObject re;
    ASSERT_TRUE(re.create(GBK("辣.条"), GBK("辣味条 辣\n条")));
    EXPECT_EQ(re.match_count(), 1);
    ASSERT_TRUE(re.create("^(.)$", GBK("中")));
    EXPECT_EQ(re.submatch(1, 1), GBK("中"));
    ASSERT_TRUE(re.create("a.b", "a\rb a\nb"));
    EXPECT_EQ(re.match_count(), 1);
}

TEST(RegexObject, ChineseSubmatchComesBackAsGbk) {
    RegexObject re;
    ASSERT_TRUE(re.create(GBK("名称：(.*?)；"), GBK("名称：卫龙辣条；名称：薯片；")));
    ASSERT_EQ(re.match_count(), 2);
    EXPECT_EQ(re.submatch(1, 1), GBK("卫龙辣条"));
    EXPECT_EQ(re.submatch(2, 1), GBK("薯片"));
}

TEST(RegexObject, UnicodeEscapeNamesCharacter) {
    RegexObject re;
    ASSERT_TRUE(re.create("\\u4E2D", GBK("一中")));
    EXPECT_EQ(re.match_count(), 1);
}

TEST(RegexObject, MultilineAndGlobalOptions) {
    RegexObject re;
    ASSERT_TRUE(re.create("^x$", "a\nx\nx"));
    EXPECT_EQ(re.match_count(), 2);
    ASSERT_TRUE(re.create("^x$", "a\nx\nx", false, false));
    EXPECT_EQ(re.match_count(), 0);
    ASSERT_TRUE(re.create("x", "x x x", false, true, false));
    EXPECT_EQ(re.match_count(), 1);
    EXPECT_EQ(re.replace("y"), "y x x");
}

TEST(RegexObject, EmptyMatchesAdvanceOneCharacter) {
    RegexObject re;
    ASSERT_TRUE(re.create("x*", GBK("a中")));
    EXPECT_EQ(re.match_count(), 3);
    EXPECT_EQ(re.replace("-"), GBK("-a-中-"));
}

struct BlankLineCase {
    const char* name;
    std::string subject;
    std::string expected;
};

class BlankLinePattern : public ::testing::TestWithParam<BlankLineCase> {};

TEST_P(BlankLinePattern, RemovesEmptyAndBlankOnlyLines) {
    RegexObject re;
    ASSERT_TRUE(re.create("\\n\\s*\\r", GetParam().subject));
    EXPECT_EQ(re.replace(""), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    RegexObject, BlankLinePattern,
    ::testing::Values(BlankLineCase{"empty line", "K1\r\n\r\nK2", "K1\r\nK2"},
                      BlankLineCase{"spaces only", "K1\r\n  \r\nK2", "K1\r\nK2"},
                      BlankLineCase{"several", "K1\r\n\r\n \t\r\n\r\nK2\r\n\r\nK3",
                                    "K1\r\nK2\r\nK3"},
                      BlankLineCase{"spaces in entries stay", "K 1 \r\n K2", "K 1 \r\n K2"},
                      BlankLineCase{"nothing to do", "K1\r\nK2", "K1\r\nK2"}));

// Entries start with their thumb key, so each match runs from a goods id to
// the start of the next entry; the last entry has no row.
TEST(RegexObject, ListingExtractionInEntryOrder) {
    const std::string body =
        R"({"goods_list":[{"thumb_url":"t1","goods_id":101,"goods_name":"a","hd_thumb_url":"h"},)"
        R"({"thumb_url":"t2","goods_id":202,"goods_name":"b","hd_thumb_url":"h"},)"
        R"({"thumb_url":"t3","goods_id":303,"goods_name":"c","hd_thumb_url":"h"}]})";
    RegexObject re;
    ASSERT_TRUE(re.create(R"re(,"goods_id":(.*?),"(.*?)"thumb)re", body));
    ASSERT_EQ(re.match_count(), 2);
    EXPECT_EQ(re.submatch(1, 1), "101");
    EXPECT_EQ(re.submatch(1, 2), R"(goods_name":"a","hd_thumb_url":"h"},{)");
    EXPECT_EQ(re.submatch(2, 1), "202");
}

// The first entry lacks a thumb key: its match runs on to the second entry's
// thumb key, so the second entry gives no row of its own.
TEST(RegexObject, EntryWithoutThumbKeyRunsIntoNextEntry) {
    const std::string body = R"([{"x":1,"goods_id":1,"name":"a"},)"
                             R"({"x":1,"goods_id":2,"name":"b","thumb":""},)"
                             R"({"x":1,"goods_id":3,"name":"c","thumb":""}])";
    RegexObject re;
    ASSERT_TRUE(re.create(R"re(,"goods_id":(.*?),"(.*?)"thumb)re", body));
    ASSERT_EQ(re.match_count(), 2);
    EXPECT_EQ(re.submatch(1, 1), "1");
    EXPECT_EQ(re.submatch(2, 1), "3");
}

TEST(RegexObject, SubjectEndsAtNul) {
    RegexObject re;
    ASSERT_TRUE(re.create("d", std::string("abc\0d", 5)));
    EXPECT_EQ(re.match_count(), 0);
    EXPECT_EQ(re.replace("x"), "abc");
}

TEST(RegexObject, MegabyteSubject) {
    std::string subject;
    int entries = 0;
    while (subject.size() < 1'000'000) {
        subject +=
            R"({"goods_id":)" + std::to_string(1000 + entries) + R"(,"n":")" + GBK("辣条") + "\"},";
        ++entries;
    }
    RegexObject re;
    ASSERT_TRUE(re.create(R"(\{"goods_id":(.*?),)", subject));
    ASSERT_EQ(re.match_count(), entries);
    EXPECT_EQ(re.submatch(entries, 1), std::to_string(1000 + entries - 1));
    // Each match is '{"goods_id":' (12 bytes), the digits and a comma.
    EXPECT_EQ(re.replace("$1").size(), subject.size() - static_cast<std::size_t>(entries) * 13);
}

TEST(RegexObject, HundredsOfThousandsOfMatchesInTenMegabytes) {
    std::string subject;
    int lines = 0;
    subject.reserve(10'000'000);
    while (subject.size() < 10'000'000) {
        subject += "ab\r\n\r\ncd ";  // each blank line leaves "\n\r" to match
        ++lines;
    }
    RegexObject re;
    ASSERT_TRUE(re.create("\\n\\s*\\r", subject));
    EXPECT_EQ(re.match_count(), lines);
    const std::string replaced = re.replace("");
    EXPECT_EQ(replaced.size(), subject.size() - 2 * static_cast<std::size_t>(lines));
    EXPECT_EQ(replaced.substr(0, 14), "ab\r\ncd ab\r\ncd ");
}

TEST(RegexObject, RunawayBacktrackingFailsQuietly) {
    RegexObject re;
    const bool ran = re.create("(a+)+$", std::string(40, 'a') + "b");
    EXPECT_FALSE(ran);
    EXPECT_EQ(re.match_count(), 0);
}

TEST(RegexObject, MovedObjectKeepsMatches) {
    RegexObject re;
    ASSERT_TRUE(re.create("(b)", "abc"));
    RegexObject moved(std::move(re));
    EXPECT_EQ(moved.submatch(1, 1), "b");
    RegexObject assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.replace("[$1]"), "a[b]c");
}

TEST(RegexObject, RandomBytesNeverBreakIt) {
    std::mt19937 rng(3);
    static const std::string kBytes = "ab()[]*+?.\\|{}^$\r\n \x81\xA1\xB0\xD6\xD0\xFF";
    for (int round = 0; round < 3000; ++round) {
        std::string pat;
        std::string subject;
        for (std::size_t i = 0, n = rng() % 8; i < n; ++i) {
            pat += kBytes[rng() % kBytes.size()];
        }
        for (std::size_t i = 0, n = rng() % 40; i < n; ++i) {
            subject += kBytes[rng() % kBytes.size()];
        }
        RegexObject re;
        const bool ran = re.create(pat, subject);
        if (!ran) {
            ASSERT_EQ(re.match_count(), 0) << pat;
            ASSERT_EQ(re.replace("x"), "") << pat;
        } else {
            ASSERT_GE(re.match_count(), 0);
            // Replacing every match by itself gives back the subject as converted.
            ASSERT_EQ(re.replace("$&"), text::utf8_to_gbk(text::gbk_to_utf8(subject))) << pat;
        }
    }
}

}  // namespace
