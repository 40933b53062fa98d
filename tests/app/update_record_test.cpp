// The version record, the version check and the download arithmetic.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "app/self_update_download.h"
#include "app/version.h"
#include "text/codepage.h"

namespace {

struct RecordCase {
    const char* name;
    std::string page;
    bool present;
    std::string address;
    std::string version;
    bool other;
};

class VersionRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(VersionRecordTest, ReadsAddressAndVersion) {
    const RecordCase& c = GetParam();
    const app::VersionRecord r = app::parse_version_record(c.page);
    EXPECT_EQ(r.present, c.present);
    EXPECT_EQ(r.address, c.address);
    EXPECT_EQ(r.version, c.version);
    EXPECT_EQ(app::is_other_version(r), c.other);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, VersionRecordTest,
    ::testing::Values(
        RecordCase{"OwnVersion", "<p>xiazaihttp://h/k|2.0banben</p>", true, "http://h/k", "2.0",
                   false},
        RecordCase{"OlderVersionStillUpdates", "xiazaihttp://h/k|1.9banben", true, "http://h/k",
                   "1.9", true},
        RecordCase{"CapitalEndMarker", "XIAZAIhttp://h/k|2.0BANBEN", true, "http://h/k", "2.0",
                   false},
        RecordCase{"MixedCaseMarkersNewVersion", "XiaZaihttp://h/k|2.2BanBen", true, "http://h/k",
                   "2.2", true},
        RecordCase{"AddressBeforeFirstBarVersionAfterLast", "xiazaihttp://h/a|x|2.1banben", true,
                   "http://h/a", "2.1", true},
        RecordCase{"NoBarGivesEmptyAddressAndVersion", "xiazaihttp://h/abanben", true, "", "",
                   true},
        RecordCase{"NoStartMarkerGivesEmptyRecord", "http://h/a|2.1banben", true, "", "", true},
        RecordCase{"NoEndMarkerNoRecord", "xiazaihttp://h/a|2.1", false, "", "", false},
        RecordCase{"EmptyPage", "", false, "", "", false},
        RecordCase{"TextAfterNulIgnored", std::string("abc\0xiazaih|2.1banben", 21), false, "", "",
                   false},
        // A marker right after a Chinese character is still found.
        RecordCase{"ChineseBeforeMarkers", "新xiazaihttp://h/k|2.1新banben", true, "http://h/k",
                   GBK("2.1新"), true},
        RecordCase{"VersionKeepsSpaces", "xiazaihttp://h/k| 2.0 banben", true, "http://h/k",
                   " 2.0 ", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VersionCheck, EmptyVersionWithRecordIsAnUpdate) {
    app::VersionRecord r;
    r.present = true;
    EXPECT_TRUE(app::is_other_version(r));
    r.present = false;
    EXPECT_FALSE(app::is_other_version(r));
}

struct PlainCase {
    std::string version;
    bool plain;
};

class PlainVersionTest : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainVersionTest, OnlyPlainNameComponentsPass) {
    EXPECT_EQ(app::is_plain_version(GetParam().version), GetParam().plain) << GetParam().version;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, PlainVersionTest,
    ::testing::Values(PlainCase{"2.1", true}, PlainCase{"", true}, PlainCase{"2.1-beta", true},
                      PlainCase{GBK("版本3"), true}, PlainCase{std::string(64, '9'), true},
                      PlainCase{std::string(65, '9'), false}, PlainCase{"../2.1", false},
                      PlainCase{"2..1", false}, PlainCase{"..", false}, PlainCase{"a/b", false},
                      PlainCase{"/etc/x", false}, PlainCase{"a\\b", false},
                      PlainCase{"2.1\r\n", false}, PlainCase{"2\t1", false},
                      PlainCase{"2.1\x7F", false}));

TEST(NewProgramFile, IsKorvelVersionExe) {
    EXPECT_EQ(app::new_program_file_name("2.1"), "Korvel2.1.exe");
    EXPECT_EQ(app::new_program_file_name(""), "Korvel.exe");
}

struct ProgressCase {
    std::int32_t progress;
    std::int32_t maximum;
    int position;
};

class ProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressTest, ScalesToThousandTruncated) {
    const auto p = app::progress_position(GetParam().progress, GetParam().maximum);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(*p, GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ProgressTest,
    ::testing::Values(ProgressCase{0, 100, 0}, ProgressCase{100, 100, 1000},
                      ProgressCase{1, 3, 333}, ProgressCase{2, 3, 666},
                      ProgressCase{999, 1000, 999}, ProgressCase{-1, 3, -333},
                      // Large sizes would overflow in 32-bit integer arithmetic.
                      ProgressCase{2000000000, 2000000000, 1000},
                      ProgressCase{1000000000, 2000000000, 500},
                      ProgressCase{std::numeric_limits<std::int32_t>::max() - 1,
                                   std::numeric_limits<std::int32_t>::max(), 999}));

TEST(Progress, UnknownMaximumLeavesBarAlone) {
    EXPECT_FALSE(app::progress_position(0, 0).has_value());
    EXPECT_FALSE(app::progress_position(12345, 0).has_value());
}

}  // namespace
