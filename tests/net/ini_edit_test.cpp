// One value of korvel.ini changed, every other byte kept.
#include <gtest/gtest.h>

#include "net/ini_edit.h"

namespace {

struct Edit {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
    bool trailing_comments = true;
};

class IniEdit : public ::testing::TestWithParam<Edit> {};

TEST_P(IniEdit, ChangesOnlyTheValue) {
    const Edit& e = GetParam();
    EXPECT_EQ(net::with_ini_value(e.before, e.section, e.key, e.value, e.trailing_comments),
              e.after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniEdit,
    ::testing::Values(
        Edit{"ValueKeepsSpacingCommentAndOtherSections",
             "; mine\n[hosts]\n  Goods_Page = old:1   ; office\nx=y\n[board]\nretries=3\n", "HOSTS",
             "goods_page", "new:2",
             "; mine\n[hosts]\n  Goods_Page = new:2   ; office\nx=y\n[board]\nretries=3\n"},
        Edit{"WithoutTrailingCommentsTheLineEndsTheValue", "[hosts]\nvendor_info = a ; b\n",
             "hosts", "vendor_info", "v:1", "[hosts]\nvendor_info = v:1\n", false},
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

}  // namespace
