#include "ranking/encode_keyword.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

struct EncodeCase {
    std::string keyword;  // GBK
    std::string encoded;
};

class EncodeKeyword : public testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeKeyword, GivesTheQueryValue) {
    EXPECT_EQ(ranking::encode_keyword(GetParam().keyword), GetParam().encoded);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncodeKeyword,
    testing::Values(EncodeCase{"a b", "a%20b"}, EncodeCase{GBK("辣条"), "%E8%BE%A3%E6%9D%A1"},
                    EncodeCase{"a\tb", "a%9b"}, EncodeCase{"", ""},
                    EncodeCase{",-./0123456789", ",-./0123456789"}, EncodeCase{"AZaz", "AZaz"},
                    EncodeCase{"_", "%5F"}, EncodeCase{"+&=?", "%2B%26%3D%3F"},
                    EncodeCase{"\x01", "%1"}, EncodeCase{"@[`{", "%40%5B%60%7B"},
                    EncodeCase{GBK("辣条 大礼包"),
                               "%E8%BE%A3%E6%9D%A1%20%E5%A4%A7%E7%A4%BC%E5%8C%85"}));

}  // namespace
