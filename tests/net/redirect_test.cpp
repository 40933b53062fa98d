// Redirects: followed, forbidden, and only ever to http or https.
#include <gtest/gtest.h>

#include "net/cookie_store.h"
#include "net/fetch_page.h"
#include "net/goods_page.h"
#include "plain/raw_http_server.h"

namespace {

using test::RawHttpServer;
using test::Reply;

Reply redirect_to(const std::string& location) {
    return Reply::status("HTTP/1.1 302 Found", "moved body", "Location: " + location + "\r\n");
}

class Redirects : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }

    Reply route(const std::string& request) {
        const std::string target = test::request_target(request);
        const std::string elsewhere = "127.0.0.1:" + std::to_string(other.port());
        if (target == "/moved") {
            return redirect_to("/final");
        }
        if (target == "/to-file") {
            return redirect_to("file:///etc/hostname");
        }
        if (target == "/to-ftp") {
            return redirect_to("ftp://" + elsewhere + "/x");
        }
        if (target == "/to-tls") {
            return redirect_to("https://" + elsewhere + "/secure");
        }
        return Reply::ok("final page");
    }

    RawHttpServer other{Reply::ok("other")};
    RawHttpServer server{[this](const std::string& request) { return route(request); }};
};

TEST_F(Redirects, FollowedByDefaultWithTheFinalHeaders) {
    std::string url = server.url("/moved");
    std::string headers;
    net::FetchOptions options;
    options.response_headers = &headers;
    EXPECT_EQ(net::fetch_page(url, options), "final page");
    EXPECT_EQ(headers, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n");
    EXPECT_EQ(server.request_count(), 2u);
}

TEST_F(Redirects, GoodsPageFollowsToo) {
    EXPECT_EQ(net::fetch_page_text(server.url("/moved")), "final page");
}

TEST_F(Redirects, ForbiddenRedirectReturnsTheRedirectResponse) {
    std::string url = server.url("/moved");
    std::string headers;
    net::FetchOptions options;
    options.allow_redirect = false;
    options.response_headers = &headers;
    EXPECT_EQ(net::fetch_page(url, options), "moved body");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 302 Found\r\n")) << headers;
    EXPECT_NE(headers.find("Location: /final\r\n"), std::string::npos);
    EXPECT_EQ(server.request_count(), 1u);
}

TEST_F(Redirects, NonHttpSchemesAreRefused) {
    for (const char* path : {"/to-file", "/to-ftp"}) {
        std::string url = server.url(path);
        EXPECT_EQ(net::fetch_page(url), "") << path;
        EXPECT_EQ(net::fetch_page_text(url), "") << path;
    }
    EXPECT_EQ(other.request_count(), 0u);
}

TEST_F(Redirects, HttpToHttpsIsFollowedOverTls) {
    std::string url = server.url("/to-tls");
    net::FetchOptions options;
    options.timeout_seconds = 20;
    EXPECT_EQ(net::fetch_page(url, options), "");  // the test server cannot finish a handshake
    ASSERT_EQ(other.request_count(), 1u);
    EXPECT_EQ(other.last_request().front(), '\x16');
}

}  // namespace
