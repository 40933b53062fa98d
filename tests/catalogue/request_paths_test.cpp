// The addresses the catalogue's lists come from, byte for byte.
#include <gtest/gtest.h>

#include "net/remote_addresses.h"

namespace net {
namespace {

TEST(RequestPaths, Level1IsTheVendorInfoPage) {
    EXPECT_EQ(level1_page_path(), "/info.asp?id=70");
}

TEST(RequestPaths, Level2PutsOffsetBeforeOptType) {
    EXPECT_EQ(level2_groups_path("15"),
              "/operation/15/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0");
}

TEST(RequestPaths, Level3PutsOptTypeBeforeOffset) {
    EXPECT_EQ(level3_groups_path("1501"),
              "/operation/1501/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0");
}

TEST(RequestPaths, TabListHasAnEmptyQmxuid) {
    EXPECT_EQ(tablist_path(), "/ishopping/tablist?qmxuid=");
}

TEST(RequestPaths, UrlIsSchemeHostAndPath) {
    EXPECT_EQ(http_url("127.0.0.1:8080", "/a?b=1"), "http://127.0.0.1:8080/a?b=1");
}

struct IdCase {
    std::string id;
    std::string segment;
};

class IdSegment : public ::testing::TestWithParam<IdCase> {};

TEST_P(IdSegment, StaysOneSafePathSegment) {
    const std::string segment = encode_id(GetParam().id);
    EXPECT_EQ(segment, GetParam().segment);
    for (unsigned char c : segment) {
        EXPECT_GT(c, 0x20);
        EXPECT_LT(c, 0x7F);
        EXPECT_NE(c, '/');
        EXPECT_NE(c, '?');
        EXPECT_NE(c, '#');
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, IdSegment,
    ::testing::Values(IdCase{"12", "12"}, IdCase{"", ""}, IdCase{"0699021960", "0699021960"},
                      IdCase{"1 2", "1%202"}, IdCase{"1\r\nX: y", "1%0D%0AX%3A%20y"},
                      IdCase{"../../x", "..%2F..%2Fx"}, IdCase{"7?a=1#f", "7%3Fa%3D1%23f"},
                      IdCase{"50%", "50%25"}, IdCase{"\xA1\xAA", "%A1%AA"},
                      IdCase{std::string("3\0"
                                         "4",
                                         3),
                             "3"},
                      IdCase{"\"}", "%22%7D"}));

TEST(RequestPaths, OddIdStaysInsideItsSegment) {
    const std::string path = level2_groups_path("1/groups?x=");
    EXPECT_EQ(path.find("/groups?", 0), path.rfind("/groups?"));
    EXPECT_EQ(path.rfind("?offset=0&opt_type=1"), path.find('?'));
}

}  // namespace
}  // namespace net
