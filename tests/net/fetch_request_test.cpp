// The bytes fetch_page and 网页_访问 put on the wire.
#include <gtest/gtest.h>

#include "net/cookie_store.h"
#include "net/fetch_page.h"
#include "net/goods_page.h"
#include "net/request_headers.h"
#include "plain/raw_http_server.h"

namespace {

using test::RawHttpServer;
using test::Reply;
using Lines = std::vector<std::string>;

std::string without_crlf(std::string line) {
    return line.substr(0, line.size() - 2);
}

class RequestBytes : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }

    std::string host_line() const { return "Host: 127.0.0.1:" + std::to_string(server.port()); }

    RawHttpServer server{Reply::ok("page")};
};

TEST_F(RequestBytes, DefaultFetchPageGet) {
    std::string url = server.url("/search?q=%E4%B8%AD&page=1");
    EXPECT_EQ(net::fetch_page(url), "page");
    const std::string raw = server.last_request();
    const Lines expected = {
        "GET /search?q=%E4%B8%AD&page=1 HTTP/1.1",
        host_line(),
        "User-Agent: " + net::default_fetch_agent(),
        without_crlf(net::default_accept_line()),
        "Referer: " + url,
        without_crlf(net::default_language_line()),
    };
    EXPECT_EQ(test::split_request(raw).head_lines, expected);
    EXPECT_TRUE(raw.ends_with("zh-cn\r\n\r\n"));
}

TEST_F(RequestBytes, DefaultGoodsPageGet) {
    std::string url = server.url("/goods2.html?goods_id=12345");
    EXPECT_EQ(net::fetch_page_text(url), "page");
    const std::string raw = server.last_request();
    const Lines expected = {
        "GET /goods2.html?goods_id=12345 HTTP/1.1",
        host_line(),
        "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
        without_crlf(net::default_accept_line()),
        "Referer: " + url,
        without_crlf(net::default_language_line()),
    };
    EXPECT_EQ(test::split_request(raw).head_lines, expected);
    EXPECT_TRUE(raw.ends_with("zh-cn\r\n\r\n"));
}

TEST_F(RequestBytes, FetchPagePostCarriesContentLinesOnceAndTheBody) {
    std::string url = server.url("/form");
    net::FetchOptions options;
    options.method = 1;
    options.post_data = std::string("k=v&\0z", 6);
    net::fetch_page(url, options);
    const auto parts = test::split_request(server.last_request());
    ASSERT_FALSE(parts.head_lines.empty());
    EXPECT_EQ(parts.head_lines[0], "POST /form HTTP/1.1");
    const Lines tail(parts.head_lines.end() - 2, parts.head_lines.end());
    EXPECT_EQ(tail,
              (Lines{"Content-Type: application/x-www-form-urlencoded", "Content-Length: 6"}));
    EXPECT_EQ(std::count_if(parts.head_lines.begin(), parts.head_lines.end(),
                            [](const std::string& l) { return l.starts_with("Content-"); }),
              2);
    EXPECT_EQ(parts.body, std::string("k=v&\0z", 6));
}

TEST_F(RequestBytes, FetchPagePostWithoutDataSendsNoContentType) {
    std::string url = server.url("/form");
    net::FetchOptions options;
    options.method = 1;
    net::fetch_page(url, options);
    const auto parts = test::split_request(server.last_request());
    EXPECT_EQ(parts.head_lines[0], "POST /form HTTP/1.1");
    for (const auto& line : parts.head_lines) {
        EXPECT_FALSE(line.starts_with("Content-Type")) << line;
        EXPECT_FALSE(line.starts_with("Expect")) << line;
    }
}

TEST_F(RequestBytes, GoodsPagePostAppendsContentLinesEvenWhenPresent) {
    std::string url = server.url("/form");
    std::string headers = "Content-Length: 3\r\n";
    net::GoodsFetchOptions options;
    options.method = 1;
    options.headers = &headers;
    options.post_data = "k=v";
    net::网页_访问(url, options);
    const auto parts = test::split_request(server.last_request());
    EXPECT_EQ(parts.head_lines[0], "POST /form HTTP/1.1");
    EXPECT_EQ(std::count(parts.head_lines.begin(), parts.head_lines.end(), "Content-Length: 3"), 2);
    EXPECT_EQ(parts.body, "k=v");
}

TEST_F(RequestBytes, AgentComesFromAUserAgentLineWhichIsSentOnce) {
    std::string url = server.url("/a");
    net::FetchOptions options;
    options.headers = "User-Agent: Tester/2.0\r\n";
    net::fetch_page(url, options);
    const Lines lines = test::split_request(server.last_request()).head_lines;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "User-Agent: Tester/2.0"), 1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("User-Agent"); }),
              1);
}

TEST_F(RequestBytes, GoodsPageAgentCannotBeOverridden) {
    std::string url = server.url("/a");
    std::string headers = "User-Agent: Tester/2.0\r\n";
    net::GoodsFetchOptions options;
    options.headers = &headers;
    net::网页_访问(url, options);
    const Lines lines = test::split_request(server.last_request()).head_lines;
    EXPECT_EQ(lines[2], "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "User-Agent: Tester/2.0"), 0);
}

TEST_F(RequestBytes, RefererNoMarkerSendsNoReferer) {
    std::string url = server.url("/a");
    net::FetchOptions options;
    options.headers = "X-Mark: RefererNo\r\n";
    net::fetch_page(url, options);
    const Lines lines = test::split_request(server.last_request()).head_lines;
    for (const auto& line : lines) {
        EXPECT_FALSE(line.starts_with("Referer")) << line;
        EXPECT_FALSE(line.starts_with("X-Mark")) << line;  // left without a value, so dropped
    }
}

TEST_F(RequestBytes, CookieStepBlankLineDoesNotEndTheHeadersEarly) {
    std::string url = server.url("/a");
    net::FetchOptions options;
    options.method = 1;
    options.post_data = "abc";
    options.cookie = "sid=42";
    options.headers = "X-Last: 1\r\n";
    net::fetch_page(url, options);
    const std::string raw = server.last_request();
    const auto parts = test::split_request(raw);
    EXPECT_EQ(parts.head_lines.back(), "Cookie: sid=42");
    EXPECT_EQ(parts.body, "abc");
    EXPECT_EQ(raw.find("\r\n\r\n"), raw.size() - 4 - 3);
}

TEST_F(RequestBytes, ProxyReceivesTheAbsoluteUri) {
    std::string url = "http://goods.test:8080/list?page=2";
    net::FetchOptions options;
    options.proxy = "127.0.0.1:" + std::to_string(server.port());
    EXPECT_EQ(net::fetch_page(url, options), "page");
    const Lines lines = test::split_request(server.last_request()).head_lines;
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "GET http://goods.test:8080/list?page=2 HTTP/1.1");
    EXPECT_EQ(lines[1], "Host: goods.test:8080");
}

TEST_F(RequestBytes, GoodsPageProxyIsTrimmedAndSpacesMeanDirect) {
    std::string url = "http://goods.test/goods2.html?goods_id=1";
    net::GoodsFetchOptions options;
    options.proxy = " 127.0.0.1:" + std::to_string(server.port()) + " ";
    EXPECT_EQ(net::网页_访问(url, options), "page");
    EXPECT_TRUE(server.last_request().starts_with("GET http://goods.test/goods2.html?goods_id=1 "));

    std::string direct = server.url("/direct");
    options.proxy = "   ";
    EXPECT_EQ(net::网页_访问(direct, options), "page");
    EXPECT_TRUE(server.last_request().starts_with("GET /direct HTTP/1.1"));
}

TEST_F(RequestBytes, HttpsIsSpokenOnPort443) {
    RawHttpServer tls_port(Reply::ok("never"), 443);
    if (!tls_port.ok()) {
        GTEST_SKIP() << "port 443 cannot be bound here";
    }
    std::string url = "https://127.0.0.1:" + std::to_string(server.port()) + "/x";
    net::FetchOptions options;
    options.timeout_seconds = 20;
    EXPECT_EQ(net::fetch_page(url, options), "");
    std::string goods_url = "https://127.0.0.1/goods2.html";
    EXPECT_EQ(net::fetch_page_text(goods_url), "");
    const auto seen = tls_port.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].front(), '\x16');  // a TLS handshake record, not plain HTTP
    EXPECT_EQ(seen[1].front(), '\x16');
    EXPECT_EQ(server.request_count(), 0u);
}

}  // namespace
