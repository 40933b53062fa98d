// korvel.ini: defaults, full and partial files, garbage, bad values.
#include <gtest/gtest.h>

#include <fstream>
#include <ostream>

#include "net/settings_file.h"
#include "plain/temp_dir.h"

namespace {

net::Hosts defaults() {
    return net::default_hosts();
}

TEST(Settings, DefaultsPointAtTheLocalSimulator) {
    const net::Hosts hosts = defaults();
    EXPECT_EQ(hosts.goods_page, "127.0.0.1:18080");
    EXPECT_EQ(hosts.search_api, "127.0.0.1:18080");
    EXPECT_EQ(hosts.operations_api, "127.0.0.1:18080");
    EXPECT_EQ(hosts.vendor_info, "127.0.0.1:18080");
    EXPECT_FALSE(hosts.domain_word.empty());
}

TEST(Settings, EmptyTextKeepsEveryDefault) {
    const net::Settings s = net::parse_settings("", defaults());
    EXPECT_EQ(s.hosts.goods_page, defaults().goods_page);
    EXPECT_EQ(s.hosts.domain_word, defaults().domain_word);
    EXPECT_TRUE(s.problems.empty());
}

TEST(Settings, FullFileSetsEveryValue) {
    const net::Settings s = net::parse_settings(
        "; Korvel hosts\r\n"
        "[hosts]\r\n"
        "goods_page = goods.test:8081\r\n"
        "search_api=search.test\r\n"
        "operations_api = 10.0.0.7:9000\r\n"
        "vendor_info = vendor-info.test:80\r\n"
        "domain_word = shop.test\r\n",
        defaults());
    EXPECT_EQ(s.hosts.goods_page, "goods.test:8081");
    EXPECT_EQ(s.hosts.search_api, "search.test");
    EXPECT_EQ(s.hosts.operations_api, "10.0.0.7:9000");
    EXPECT_EQ(s.hosts.vendor_info, "vendor-info.test:80");
    EXPECT_EQ(s.hosts.domain_word, "shop.test");
    EXPECT_TRUE(s.problems.empty());
}

TEST(Settings, PartialFileKeepsTheDefaultsOfAbsentKeys) {
    const net::Settings s = net::parse_settings(
        "[other]\nvendor_info=elsewhere.test\n[Hosts]\nVendor_Info=v.test\n", defaults());
    EXPECT_EQ(s.hosts.vendor_info, "v.test");
    EXPECT_EQ(s.hosts.goods_page, defaults().goods_page);
    EXPECT_EQ(s.hosts.search_api, defaults().search_api);
    EXPECT_EQ(s.hosts.domain_word, defaults().domain_word);
}

// A file written for a program that reads more sections still loads: the
// other sections' lines are neither applied nor reported.
TEST(Settings, SectionsOfOtherReadersAreSkippedSilently) {
    const net::Settings s = net::parse_settings(
        "[board]\nsearch_api=elsewhere.test\nno equals sign\n[hosts]\nsearch_api=s.test\n"
        "[board ]\ngoods_page=g.test\n",
        defaults());
    EXPECT_EQ(s.hosts.search_api, "s.test");
    EXPECT_EQ(s.hosts.goods_page, defaults().goods_page);
    EXPECT_TRUE(s.problems.empty());
}

struct BadValue {
    const char* name;
    const char* line;
};

// Test names and failure messages show the case name, not its bytes.
void PrintTo(const BadValue& c, std::ostream* os) {
    *os << c.name;
}

class SettingsBadValue : public ::testing::TestWithParam<BadValue> {};

TEST_P(SettingsBadValue, KeepsTheDefaultAndReportsTheLine) {
    const std::string text = std::string("[hosts]\nsearch_api=ok.test\n") + GetParam().line + "\n";
    const net::Settings s = net::parse_settings(text, defaults());
    EXPECT_EQ(s.hosts.search_api, "ok.test");
    EXPECT_EQ(s.hosts.goods_page, defaults().goods_page);
    EXPECT_EQ(s.hosts.domain_word, defaults().domain_word);
    ASSERT_EQ(s.problems.size(), 1u);
    EXPECT_EQ(s.problems[0].rfind("line 3: ", 0), 0u) << s.problems[0];
}

INSTANTIATE_TEST_SUITE_P(Lines, SettingsBadValue,
                         ::testing::Values(BadValue{"Scheme", "goods_page=http://goods.test"},
                                           BadValue{"PathAfterHost", "goods_page=goods.test/x"},
                                           BadValue{"PortZero", "goods_page=goods.test:0"},
                                           BadValue{"PortTooLarge", "goods_page=goods.test:65536"},
                                           BadValue{"PortNotANumber",
                                                    "goods_page=goods.test:eighty"},
                                           BadValue{"EmptyHost", "goods_page="},
                                           BadValue{"OnlyAPort", "goods_page=:8080"},
                                           BadValue{"SpaceInside", "goods_page=goods test"},
                                           BadValue{"EmptyDomainWord", "domain_word="},
                                           BadValue{"DomainWordWithBlank", "domain_word=two words"},
                                           BadValue{"NoEquals", "goods_page goods.test"},
                                           BadValue{"UnknownKey", "proxy=p.test"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, GarbageFileNeverStopsTheProgram) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += static_cast<char>((i * 7919) & 0xFF);
    garbage += std::string("\0[hosts\n=\n[]\n[hosts]]\n==\n\xFF\xFE", 22);
    const net::Settings s = net::parse_settings(garbage, defaults());
    EXPECT_EQ(s.hosts.goods_page, defaults().goods_page);
    EXPECT_EQ(s.hosts.search_api, defaults().search_api);
    EXPECT_EQ(s.hosts.operations_api, defaults().operations_api);
    EXPECT_EQ(s.hosts.vendor_info, defaults().vendor_info);
    EXPECT_EQ(s.hosts.domain_word, defaults().domain_word);
}

TEST(Settings, ByteOrderMarkQuotesAndCommentsAreUnderstood) {
    const net::Settings s = net::parse_settings(
        "\xEF\xBB\xBF[hosts]\n# comment\n\tgoods_page = \"g.test:1\"  \nvendor_info='v.test'\n",
        defaults());
    EXPECT_EQ(s.hosts.goods_page, "g.test:1");
    EXPECT_EQ(s.hosts.vendor_info, "v.test");
    EXPECT_TRUE(s.problems.empty());
}

// What no section's reader gets is named on stderr, so a misspelt header or
// a line above every section does not vanish without a word.
TEST(Settings, WhatTheReaderLeavesOutIsReported) {
    const net::Settings s = net::parse_settings(
        "\xEF\xBB\xBFgoods_page=early.test\nmore=1\n[hosts] ; mine\n"
        "goods_page = g.test:1   ; office # relay\nvendor_info = \"v.test\" junk\n"
        "[host]\nsearch_api=s.test\n[hosts\n[notify.群]\nkind=json\n",
        defaults());
    EXPECT_EQ(s.hosts.goods_page, "g.test:1");
    EXPECT_EQ(s.hosts.vendor_info, "v.test");
    EXPECT_EQ(s.hosts.search_api, defaults().search_api);
    EXPECT_EQ(s.problems, (std::vector<std::string>{
                              "line 1: outside any [section]; ignored",
                              "line 5: text after the closing quote ignored",
                              "line 8: '[' without ']'; the lines up to the next section are "
                              "ignored",
                              "line 6: unknown section [host] ignored",
                          }));
}

TEST(Settings, HostSettingShapes) {
    const std::pair<const char*, bool> cases[] = {
        {"127.0.0.1:18080", true},
        {"localhost", true},
        {"a-b_c.test:65535", true},
        {"x:1", true},
        {"", false},
        {"host:", false},
        {"host:123456", false},
        {"[::1]:80", false},
        {"h\xC3\xA9.test", false},
        {"host:80:81", false},
        {"http://host", false},
    };
    for (const auto& [text, ok] : cases)
        EXPECT_EQ(net::is_host_setting(text), ok) << text;
}

TEST(SettingsFile, AbsentFileGivesTheDefaults) {
    test::TempDir dir;
    const net::Settings s = net::load_settings(dir.file("korvel.ini"), defaults());
    EXPECT_EQ(s.hosts.vendor_info, defaults().vendor_info);
    EXPECT_TRUE(s.problems.empty());
}

TEST(SettingsFile, FileOnDiskIsRead) {
    test::TempDir dir;
    const auto path = dir.file("korvel.ini");
    std::ofstream(path) << "[hosts]\nvendor_info=127.0.0.1:9\ndomain_word=goods9.html\n";
    const net::Settings s = net::load_settings(path, defaults());
    EXPECT_EQ(s.hosts.vendor_info, "127.0.0.1:9");
    EXPECT_EQ(s.hosts.domain_word, "goods9.html");
}

}  // namespace
