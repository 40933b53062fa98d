#include "net/percent_encode.h"

#include <gtest/gtest.h>

#include "net/remote_addresses.h"
#include "text/codepage.h"

namespace {

using net::KeptBytes;

struct EncodeCase {
    std::string bytes;
    std::string keyword;       // as a search keyword
    std::string path_segment;  // as an id
};

class PercentEncode : public testing::TestWithParam<EncodeCase> {};

TEST_P(PercentEncode, KeepsOnlyItsSetAndWritesTwoDigits) {
    EXPECT_EQ(net::percent_encode(GetParam().bytes, KeptBytes::keyword), GetParam().keyword);
    EXPECT_EQ(net::percent_encode(GetParam().bytes, KeptBytes::path_segment),
              GetParam().path_segment);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PercentEncode,
    testing::Values(EncodeCase{"", "", ""}, EncodeCase{"AZaz09", "AZaz09", "AZaz09"},
                    EncodeCase{",-./", ",-./", "%2C-.%2F"}, EncodeCase{"_~", "%5F%7E", "_~"},
                    EncodeCase{"a b", "a%20b", "a%20b"}, EncodeCase{"a\tb", "a%09b", "a%09b"},
                    EncodeCase{"\x01", "%01", "%01"},
                    EncodeCase{"+&=?#", "%2B%26%3D%3F%23", "%2B%26%3D%3F%23"},
                    EncodeCase{"@[`{", "%40%5B%60%7B", "%40%5B%60%7B"},
                    EncodeCase{"\xFF\x80", "%FF%80", "%FF%80"},
                    EncodeCase{std::string("a\0b", 3), "a%00b", "a%00b"},
                    EncodeCase{"../x", "../x", "..%2Fx"}));

struct KeywordCase {
    const char* utf8;
    const char* query;
};

class EncodeKeyword : public testing::TestWithParam<KeywordCase> {};

// The keyword arrives as GBK and travels as percent-encoded UTF-8.
TEST_P(EncodeKeyword, GivesTheQueryValue) {
    EXPECT_EQ(net::encode_keyword(text::utf8_to_gbk(GetParam().utf8)), GetParam().query);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncodeKeyword,
    testing::Values(KeywordCase{"", ""}, KeywordCase{"辣条", "%E8%BE%A3%E6%9D%A1"},
                    KeywordCase{"辣条 大礼包", "%E8%BE%A3%E6%9D%A1%20%E5%A4%A7%E7%A4%BC%E5%8C%85"},
                    KeywordCase{"a\tb", "a%09b"}, KeywordCase{"５ｇ", "%EF%BC%95%EF%BD%87"}));

TEST(EncodeKeywordInput, StopsAtTheFirstNul) {
    EXPECT_EQ(net::encode_keyword(std::string("ab\0cd", 5)), "ab");
}

}  // namespace
