// One value or one whole section of korvel.ini changed, every other byte kept.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/ini_edit.h"
#include "net/ini_section.h"
#include "net/ini_section_edit.h"

namespace {

struct Edit {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

class IniEdit : public ::testing::TestWithParam<Edit> {};

TEST_P(IniEdit, ChangesOnlyTheValue) {
    const Edit& e = GetParam();
    const std::string after = net::with_ini_value(e.before, e.section, e.key, e.value);
    EXPECT_EQ(after, e.after);
    // The reader gives back exactly the value written.
    const auto lines = net::ini_section(after, e.section);
    const auto last = std::find_if(lines.rbegin(), lines.rend(), [&](const net::IniLine& l) {
        return l.key == net::lower_ascii(e.key);
    });
    ASSERT_NE(last, lines.rend());
    EXPECT_EQ(last->value, e.value);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniEdit,
    ::testing::Values(
        Edit{"ValueKeepsSpacingCommentAndOtherSections",
             "; mine\n[hosts]\n  Goods_Page = old:1   ; office\nx=y\n[board]\nretries=3\n", "HOSTS",
             "goods_page", "new:2",
             "; mine\n[hosts]\n  Goods_Page = new:2   ; office\nx=y\n[board]\nretries=3\n"},
        Edit{"CommentAfterAnyValueIsKept", "[notify.群]\nsecret = SEC1   ; 加签\n", "notify.群",
             "secret", "SEC2", "[notify.群]\nsecret = SEC2   ; 加签\n"},
        Edit{"QuotedValueIsReplacedWhole", "[notify.m]\npassword = \"a ; b\" # c\n", "notify.m",
             "password", "new", "[notify.m]\npassword = new # c\n"},
        Edit{"ValueTheReaderWouldCutIsQuoted", "[notify.m]\npassword=x\n", "notify.m", "password",
             "pa ;ss#", "[notify.m]\npassword=\"pa ;ss#\"\n"},
        Edit{"ValueStartingWithACommentMarkIsQuoted", "[notify.m]\npassword = x\n", "notify.m",
             "password", "#pa", "[notify.m]\npassword = \"#pa\"\n"},
        Edit{"ValueGoesBeforeACommentThatStoodAlone", "[notify.m]\nuser = ; later\n", "notify.m",
             "user", "me", "[notify.m]\nuser = me ; later\n"},
        Edit{"ValueWithDoubleQuotesGetsSingleOnes", "[notify.m]\n", "notify.m", "password",
             " \"q\" ", "[notify.m]\npassword=' \"q\" '\n"},
        Edit{"LastOfTwoLinesOfAKeyIsTheOneRead", "[board]\nretries=1\nretries=2\n", "board",
             "retries", "5", "[board]\nretries=1\nretries=5\n"},
        Edit{"SameKeyInAnotherSectionIsLeftAlone", "[a]\nretries=1\n[board]\n# c\n", "board",
             "retries", "5", "[a]\nretries=1\n[board]\nretries=5\n# c\n"},
        Edit{"MissingKeyGoesAfterTheSectionsLastKey",
             "[board]\r\npause_s=1\r\n\r\n; about hosts\r\n[hosts]\r\n", "board", "retries", "4",
             "[board]\r\npause_s=1\r\nretries=4\r\n\r\n; about hosts\r\n[hosts]\r\n"},
        Edit{"MissingKeyAtTheEndWithoutLineEnd", "[board]\npause_s=1", "board", "retries", "4",
             "[board]\npause_s=1\nretries=4\n"},
        Edit{"MissingSectionIsAppended", "\xEF\xBB\xBF[hosts]\nvendor_info=v", "board", "retries",
             "4", "\xEF\xBB\xBF[hosts]\nvendor_info=v\n[board]\nretries=4\n"},
        Edit{"EmptyFile", "", "hosts", "vendor_info", "v:1", "[hosts]\nvendor_info=v:1\n"},
        Edit{"SectionHeaderAfterAByteOrderMark", "\xEF\xBB\xBF[board]\nretries=1\n", "board",
             "retries", "2", "\xEF\xBB\xBF[board]\nretries=2\n"}),
    [](const ::testing::TestParamInfo<Edit>& info) { return std::string(info.param.name); });

// A file with a comment before, among and after the channels' keys, and
// sections on both sides.
const std::string kChannels =
    "; korvel\n[hosts]\nvendor_info=v:1\n\n[Notify.team]\nkind = wecom\n; the robot\n"
    "url = https://a/?key=K   ; office\n; mail follows\n\n[notify.mail]\nkind=email\n\n"
    "[board]\nretries=2\n";

TEST(IniSectionEdit, NamesTheSectionsOfAPrefixOnceEach) {
    EXPECT_EQ(
        net::ini_section_names(kChannels + "[NOTIFY.TEAM]\n[notify.]\n[notify.邮件 ]\n", "notify."),
        (std::vector<std::string>{"team", "mail", "邮件"}));
}

struct SectionEdit {
    const char* name;
    std::string before;
    std::string after;
};

class RemovedSection : public ::testing::TestWithParam<SectionEdit> {};

TEST_P(RemovedSection, TakesItsBlockAndOneBlankLine) {
    EXPECT_EQ(net::without_ini_section(GetParam().before, "notify.team"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RemovedSection,
    ::testing::Values(
        SectionEdit{"BetweenSectionsKeepsTheCommentAfterItsLastKey", kChannels,
                    "; korvel\n[hosts]\nvendor_info=v:1\n\n; mail follows\n\n[notify.mail]\n"
                    "kind=email\n\n[board]\nretries=2\n"},
        SectionEdit{"AtTheEndTakesTheBlankLineBeforeIt", "[a]\r\nx=1\r\n\r\n[notify.team]\r\nk=v",
                    "[a]\r\nx=1\r\n"},
        SectionEdit{"FirstAfterAByteOrderMark", "\xEF\xBB\xBF[notify.team]\nk=v\n\n[a]\n",
                    "\xEF\xBB\xBF[a]\n"},
        SectionEdit{"EveryBlockOfASectionWrittenTwice", "[notify.team]\nk=1\n[a]\n[notify.team]\n",
                    "[a]\n"},
        SectionEdit{"AbsentLeavesTheTextAsItIs", "[a]\nx=1\n", "[a]\nx=1\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniSectionEdit, AddedThenRemovedGivesTheFileBack) {
    for (const std::string& before : {std::string(), std::string("[a]\nx=1"), kChannels}) {
        const std::string added =
            net::with_ini_section(before, "notify.新", {"kind=json", "url=u"});
        EXPECT_TRUE(added.ends_with("\n\n[notify.新]\nkind=json\nurl=u\n") || before.empty())
            << added;
        EXPECT_EQ(net::without_ini_section(added, "notify.新"),
                  before.empty() || before.ends_with('\n') ? before : before + "\n");
    }
}

TEST(IniSectionEdit, ReplacedSectionKeepsItsHeaderAndWhatFollows) {
    EXPECT_EQ(net::with_ini_section(kChannels, "notify.TEAM", {"kind=json", "url=u"}),
              "; korvel\n[hosts]\nvendor_info=v:1\n\n[Notify.team]\nkind=json\nurl=u\n"
              "; mail follows\n\n[notify.mail]\nkind=email\n\n[board]\nretries=2\n");
    EXPECT_EQ(net::with_ini_section("[notify.team]", "notify.team", {"k=v"}),
              "[notify.team]\nk=v\n");
}

TEST(IniSectionEdit, RemovedKeyGoesOnlyFromItsSection) {
    EXPECT_EQ(net::without_ini_key("[notify.x]\nsecret=1\nurl=u\r\n[y]\nsecret=2\n", "notify.x",
                                   "SECRET"),
              "[notify.x]\nurl=u\r\n[y]\nsecret=2\n");
}

// What the reader takes after '=' where the edits above do not show it.
TEST(IniValue, CommentsStartAfterABlankAndQuotesKeepTheirText) {
    EXPECT_EQ(net::ini_value("a#b;c"), "a#b;c");
    EXPECT_EQ(net::ini_value("#pass"), "#pass");
    EXPECT_EQ(net::ini_value("\t; fill in later"), "");
    std::string problem;
    EXPECT_EQ(net::ini_value(" \"open ; x", &problem), "\"open");
    EXPECT_FALSE(problem.empty()) << "a quote left open is reported";
}

}  // namespace
