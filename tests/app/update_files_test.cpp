// The files a self-update leaves: the settings entry and the deleter script.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/deleter_script.h"
#include "app/self_update_profile.h"
#include "text/codepage.h"

namespace {

struct ProfileCase {
    const char* name;
    std::string before;
    std::string after;
};

class ProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileTest, WritesEntryLikeAProfileFile) {
    EXPECT_EQ(app::with_profile_entry(GetParam().before, "cfg", "old", "korvel"), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileTest,
    ::testing::Values(
        ProfileCase{"NewFile", "", "[cfg]\r\nold=korvel\r\n"},
        ProfileCase{"ReplacesValue", "[cfg]\r\nold=prev\r\nkeep=1\r\n",
                    "[cfg]\r\nold=korvel\r\nkeep=1\r\n"},
        ProfileCase{"KeyAndSectionIgnoreCase", "[CFG]\r\nOLD = prev\r\n",
                    "[CFG]\r\nold=korvel\r\n"},
        ProfileCase{"AddsKeyAtEndOfSection", "[cfg]\r\na=1\r\n\r\n[other]\r\nb=2\r\n",
                    "[cfg]\r\na=1\r\nold=korvel\r\n\r\n[other]\r\nb=2\r\n"},
        ProfileCase{"KeyOfOtherSectionUntouched", "[other]\r\nold=x\r\n",
                    "[other]\r\nold=x\r\n[cfg]\r\nold=korvel\r\n"},
        ProfileCase{"LfOnlyFileGetsCrLf", "[cfg]\nold=x\n", "[cfg]\r\nold=korvel\r\n"},
        ProfileCase{"LastLineWithoutBreak", "[x]\r\ny=1", "[x]\r\ny=1\r\n[cfg]\r\nold=korvel\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFile, ChineseSectionAndKeyInGbk) {
    const std::string out =
        app::with_profile_entry("", GBK("配置"), GBK("待删旧版"), GBK("旧程序"));
    EXPECT_EQ(out, "[" + GBK("配置") + "]\r\n" + GBK("待删旧版") + "=" + GBK("旧程序") + "\r\n");
}

TEST(DeleterScript, FourLinesByteForByte) {
    const std::string expected =
        "  Dim fso\r\n"
        "  Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
        "  fso.DeleteFile(\"/opt/k\\korvel\")\r\n"
        "  fso.DeleteFile(\"/opt/k\\tem.vbs\")";
    EXPECT_EQ(app::deleter_script_text("/opt/k", "korvel"), expected);
}

TEST(DeleterScript, KeepsGbkNames) {
    const std::string script = app::deleter_script_text(GBK("/数据"), GBK("旧版.exe"));
    EXPECT_NE(script.find(GBK("/数据") + "\\" + GBK("旧版.exe")), std::string::npos);
}

TEST(DeleterScript, TargetsAreProgramThenScript) {
    const std::string script = app::deleter_script_text("/opt/k", "korvel");
    EXPECT_EQ(app::deleter_script_targets(script, "/opt/k"),
              (std::vector<std::string>{"korvel", "tem.vbs"}));
}

struct TargetCase {
    const char* name;
    std::string script;
    std::vector<std::string> targets;
};

class DeleterTargetsTest : public ::testing::TestWithParam<TargetCase> {};

TEST_P(DeleterTargetsTest, OnlyPlainNamesInTheDirectory) {
    EXPECT_EQ(app::deleter_script_targets(GetParam().script, "/opt/k"), GetParam().targets);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, DeleterTargetsTest,
    ::testing::Values(TargetCase{"OtherDirectory", "fso.DeleteFile(\"/etc\\passwd\")", {}},
                      TargetCase{"PrefixOfLongerDirectory", "fso.DeleteFile(\"/opt/kk\\a\")", {}},
                      TargetCase{"SubPath", "fso.DeleteFile(\"/opt/k\\a/b\")", {}},
                      TargetCase{"ParentStep", "fso.DeleteFile(\"/opt/k\\..\")", {}},
                      TargetCase{"EmptyName", "fso.DeleteFile(\"/opt/k\\\")", {}},
                      TargetCase{"UnclosedCall", "fso.DeleteFile(\"/opt/k\\a", {}},
                      TargetCase{"SkipsBadKeepsGood",
                                 "fso.DeleteFile(\"/x\\a\")\r\nfso.DeleteFile(\"/opt/k\\b\")",
                                 {"b"}},
                      TargetCase{"NoCalls", "Dim fso", {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
