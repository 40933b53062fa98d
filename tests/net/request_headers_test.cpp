#include "net/request_headers.h"

#include <gtest/gtest.h>

namespace {

const std::string kUrl = "http://a.test/p";

std::string fetch_headers(const std::string& given, bool post = false, const std::string& data = "",
                          const std::string& cookie = "") {
    return net::complete_fetch_headers(given, {kUrl, post, data, cookie});
}

std::string goods_headers(const std::string& given, bool post = false, const std::string& data = "",
                          const std::string& cookie = "") {
    return net::complete_goods_headers(given, {kUrl, post, data, cookie});
}

const std::string& accept() {
    return net::default_accept_line();
}
const std::string& language() {
    return net::default_language_line();
}
const std::string kReferer = "Referer: http://a.test/p\r\n";

struct HeaderCase {
    std::string name;
    std::string given;
    bool post;
    std::string data;
    std::string cookie;
    std::string expected;
};

class FetchHeaders : public testing::TestWithParam<HeaderCase> {};

TEST_P(FetchHeaders, CompletesTheCallersText) {
    const HeaderCase& c = GetParam();
    EXPECT_EQ(fetch_headers(c.given, c.post, c.data, c.cookie), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FetchHeaders,
    testing::Values(
        HeaderCase{"Empty", "", false, "", "", accept() + kReferer + language()},
        // "Accept" is found inside Accept-Encoding, so no Accept line is added.
        HeaderCase{"AcceptEncodingCountsAsAccept", "Accept-Encoding: gzip\r\n", false, "", "",
                   "Accept-Encoding: gzip\r\n" + kReferer + language()},
        HeaderCase{"RefererNoMarkerRemoved", "X: RefererNo\r\n", false, "", "",
                   "X: \r\n" + accept() + language()},
        HeaderCase{"RefererNoOtherCaseStays", "X: REFERERNO\r\n", false, "", "",
                   "X: REFERERNO\r\n" + accept() + language()},
        HeaderCase{"OwnRefererKept", "referer: http://r.test/\r\n", false, "", "",
                   "referer: http://r.test/\r\n" + accept() + language()},
        HeaderCase{"CookieLineLastWithBlankLine", "", false, "", "a=1",
                   accept() + kReferer + language() + "Cookie: a=1\r\n\r\n"},
        HeaderCase{"PostAddsContentLines", "", true, "k=v", "",
                   accept() + kReferer + language() +
                       "Content-Type: application/x-www-form-urlencoded\r\n"
                       "Content-Length: 3\r\n"},
        HeaderCase{
            "PostKeepsOwnContentLines", "Content-Type: text/plain\r\nContent-Length: 3\r\n", true,
            "k=v", "",
            "Content-Type: text/plain\r\nContent-Length: 3\r\n" + accept() + kReferer + language()},
        HeaderCase{"PostWithoutDataAddsNone", "", true, "", "", accept() + kReferer + language()},
        HeaderCase{"GetIgnoresData", "", false, "k=v", "", accept() + kReferer + language()}),
    [](const auto& info) { return info.param.name; });

class GoodsHeaders : public testing::TestWithParam<HeaderCase> {};

TEST_P(GoodsHeaders, CompletesTheCallersText) {
    const HeaderCase& c = GetParam();
    EXPECT_EQ(goods_headers(c.given, c.post, c.data, c.cookie), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GoodsHeaders,
    testing::Values(HeaderCase{"Empty", "", false, "", "", accept() + kReferer + language()},
                    // The tests look for the name with colon and space.
                    HeaderCase{"AcceptEncodingIsNotAccept", "Accept-Encoding: gzip\r\n", false, "",
                               "", "Accept-Encoding: gzip\r\n" + accept() + kReferer + language()},
                    HeaderCase{"NoRefererMarker", "X: RefererNo\r\n", false, "", "",
                               "X: RefererNo\r\n" + accept() + kReferer + language()},
                    HeaderCase{"PostLinesAlwaysAppended", "Content-Length: 3\r\n", true, "k=v", "",
                               "Content-Length: 3\r\n" + accept() + kReferer + language() +
                                   "Content-Type: application/x-www-form-urlencoded\r\n"
                                   "Content-Length: 3\r\n"},
                    HeaderCase{"CookieAfterPostLines", "", true, "k=v", "c=2",
                               accept() + kReferer + language() +
                                   "Content-Type: application/x-www-form-urlencoded\r\n"
                                   "Content-Length: 3\r\nCookie: c=2\r\n\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST(AgentFromHeaders, TakesTheTrimmedValueIgnoringCase) {
    EXPECT_EQ(net::agent_from_headers("X: 1\r\nuser-agent:  Tester/1.0 \r\nY: 2\r\n"),
              "Tester/1.0");
}

TEST(AgentFromHeaders, NothingWithoutALine) {
    EXPECT_FALSE(net::agent_from_headers("Accept: */*\r\n").has_value());
}

TEST(AgentFromHeaders, EmptyWhenNoLineEndFollows) {
    EXPECT_EQ(net::agent_from_headers("User-Agent: Tester"), "");
}

TEST(HeaderLines, SplitsAtLineEndsAndDropsBlankLines) {
    const std::vector<std::string> expected = {"A: 1", "B: 2", "Cookie: c=1", "D: 4"};
    EXPECT_EQ(net::header_lines("A: 1\r\nB: 2\r\n\r\nCookie: c=1\r\n\r\n \r\nD: 4\nE"),
              (std::vector<std::string>{"A: 1", "B: 2", "Cookie: c=1", "D: 4", "E"}));
    EXPECT_EQ(net::header_lines("A: 1\r\nB: 2\r\nCookie: c=1\r\n\r\nD: 4"), expected);
}

TEST(HeaderLines, StopsAtNul) {
    EXPECT_EQ(net::header_lines(std::string("A: 1\r\n\0B: 2\r\n", 13)),
              std::vector<std::string>{"A: 1"});
}

}  // namespace
