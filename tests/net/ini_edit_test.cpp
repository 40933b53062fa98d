// One value of korvel.ini changed, every other byte kept.
#include <gtest/gtest.h>

#include <algorithm>

#include "net/ini_edit.h"
#include "net/ini_section.h"

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
