#include "net/response_parts.h"
#include "plain/under_wine.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace {

TEST(HeaderBlock, KeepsOnlyTheFinalResponseWithCrLfLines) {
    net::HeaderBlock block;
    for (const char* line : {"HTTP/1.1 302 Found\r\n", "Location: /b\r\n", "\r\n",
                             "HTTP/1.1 200 OK\n", "A: 1\r\n", "\r\n"}) {
        block.add_line(line);
    }
    EXPECT_EQ(block.text(), "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n");
}

TEST(HeaderBlock, EmptyWhenItDoesNotFitTheBuffer) {
    net::HeaderBlock fits;
    net::HeaderBlock too_long;
    const std::string status = "HTTP/1.1 200 OK\r\n";  // 17 bytes
    fits.add_line(status);
    too_long.add_line(status);
    // 17 + line + 2 (blank line) bytes, plus the terminating NUL, against 2048.
    fits.add_line("X: " + std::string(2048 - 1 - 17 - 2 - 5, 'a') + "\r\n");
    too_long.add_line("X: " + std::string(2048 - 17 - 2 - 5, 'a') + "\r\n");
    fits.add_line("\r\n");
    too_long.add_line("\r\n");
    EXPECT_EQ(fits.text().size(), 2047u);
    EXPECT_EQ(too_long.text(), "");
}

struct CookieCase {
    std::string block;
    std::string collected;
    friend void PrintTo(const CookieCase& c, std::ostream* os) { *os << c.collected; }
};

class CollectCookies : public testing::TestWithParam<CookieCase> {};

TEST_P(CollectCookies, TakesNameAndValuePerLine) {
    EXPECT_EQ(net::collect_cookies(GetParam().block), GetParam().collected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CollectCookies,
    testing::Values(CookieCase{"HTTP/1.1 200 OK\r\nA: 1\r\n\r\n", ""},
                    CookieCase{
                        "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; x\r\n\r\n",
                        "a=1;b=2;"},
                    // A line without ";" gives only the ";".
                    CookieCase{"HTTP/1.1 200 OK\r\nSet-Cookie: solo=1\r\n\r\n", ";"},
                    CookieCase{"HTTP/1.1 200 OK\r\nset-cookie: c=3;\r\n\r\n", "c=3;"},
                    // Without the space after the colon the line is not a cookie line.
                    CookieCase{"HTTP/1.1 200 OK\r\nSet-Cookie:d=4;\r\n\r\n", ""},
                    CookieCase{"HTTP/1.1 200 OK\nSet-Cookie: e=5; p\n", "e=5;"}));

TEST(ApplyConversion, KindOneReadsUtf8UpToNul) {
    EXPECT_EQ(net::apply_conversion(std::string("\xE4\xB8\xAD\0x", 5), 1), GBK("中"));
}

TEST(ApplyConversion, KindTwoMapsBig5ToSimplifiedGbk) {
    if (test::under_wine())
        GTEST_SKIP() << "under Wine LCMapStringEx(LCMAP_SIMPLIFIED_CHINESE) maps nothing";
    // Big5 for 體育 (traditional), which comes out as 体育.
    EXPECT_EQ(net::apply_conversion("\xC5\xE9\xA8\x7C", 2), GBK("体育"));
}

TEST(ApplyConversion, OtherKindsKeepEveryByte) {
    const std::string bytes("a\0\xE4\xB8\xAD", 5);
    EXPECT_EQ(net::apply_conversion(bytes, std::nullopt), bytes);
    EXPECT_EQ(net::apply_conversion(bytes, 3), bytes);
}

}  // namespace
