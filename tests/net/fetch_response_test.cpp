// What fetch_page hands back, from good, odd and bad servers.
#include <gtest/gtest.h>
#include "plain/under_wine.h"

#include <thread>

#include "net/cookie_store.h"
#include "net/fetch_page.h"
#include "net/fetch_worker.h"
#include "plain/raw_http_server.h"
#include "text/codepage.h"

namespace {

using namespace std::chrono_literals;
using test::RawHttpServer;
using test::Reply;

net::FetchOptions with_timeout(int seconds) {
    net::FetchOptions options;
    options.timeout_seconds = seconds;
    return options;
}

std::string fetch(const RawHttpServer& server, const net::FetchOptions& options = {}) {
    std::string url = server.url("/p");
    return net::fetch_page(url, options);
}

class FetchResponse : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }
};

TEST_F(FetchResponse, BodyWithNulBytesComesBackWhole) {
    const std::string body("ab\0cd\0", 6);
    RawHttpServer server(Reply::ok(body));
    EXPECT_EQ(fetch(server), body);
}

TEST_F(FetchResponse, ErrorStatusBodyIsReturnedLikeAnyOther) {
    RawHttpServer server(Reply::status("HTTP/1.1 404 Not Found", "missing"));
    EXPECT_EQ(fetch(server), "missing");
}

TEST_F(FetchResponse, RawHeaderBlockAndCookiesGoToTheOutputs) {
    RawHttpServer server(
        Reply::ok("x", "Set-Cookie: a=1; Path=/\r\nX-Other: y\r\nSet-Cookie: solo=2\r\n"));
    std::string headers;
    std::string cookies;
    net::FetchOptions options;
    options.response_headers = &headers;
    options.response_cookies = &cookies;
    EXPECT_EQ(fetch(server, options), "x");
    EXPECT_EQ(headers,
              "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nSet-Cookie: a=1; Path=/\r\n"
              "X-Other: y\r\nSet-Cookie: solo=2\r\n\r\n");
    EXPECT_EQ(cookies, "a=1;;");
}

TEST_F(FetchResponse, OversizedHeaderBlockIsNotRead) {
    RawHttpServer server(
        Reply::ok("body", "Set-Cookie: big=1;\r\nX-Pad: " + std::string(2100, 'p') + "\r\n"));
    std::string headers = "before";
    std::string cookies = "before";
    net::FetchOptions options;
    options.response_headers = &headers;
    options.response_cookies = &cookies;
    EXPECT_EQ(fetch(server, options), "body");
    EXPECT_EQ(headers, "");
    EXPECT_EQ(cookies, "");
}

TEST_F(FetchResponse, ConversionKinds) {
    if (test::under_wine())
        GTEST_SKIP() << "under Wine LCMapStringEx(LCMAP_SIMPLIFIED_CHINESE) maps nothing";
    RawHttpServer utf8(Reply::ok("\xE4\xB8\xAD\xE6\x96\x87"));  // 中文 in UTF-8
    RawHttpServer big5(Reply::ok("\xC5\xE9\xA8\x7C"));          // 體育 in Big5
    net::FetchOptions options;
    options.conversion = 1;
    EXPECT_EQ(fetch(utf8, options), GBK("中文"));
    options.conversion = 2;
    EXPECT_EQ(fetch(big5, options), GBK("体育"));
    options.conversion = 7;
    EXPECT_EQ(fetch(utf8, options), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST_F(FetchResponse, FiftyMegabyteBody) {
    const std::string body(50u << 20, 'z');
    RawHttpServer server(Reply::ok(body));
    const std::string got = fetch(server);
    EXPECT_EQ(got.size(), body.size());
    EXPECT_TRUE(got == body);
}

TEST_F(FetchResponse, ServerClosingMidBodyGivesWhatArrived) {
    Reply reply = Reply::ok(std::string(100, 'b'));
    reply.close_after = 10;
    RawHttpServer server(reply);
    EXPECT_EQ(fetch(server), std::string(10, 'b'));
}

TEST_F(FetchResponse, EndlessTrickleEndsInTheTimeout) {
    Reply reply;
    reply.head = "HTTP/1.1 200 OK\r\nContent-Length: 100000000\r\n\r\n";
    reply.body = "drip";
    reply.piece = 1;
    reply.pause = 20ms;
    reply.endless = true;
    RawHttpServer server(reply);
    EXPECT_EQ(fetch(server, with_timeout(1)), net::timeout_message());
}

TEST_F(FetchResponse, ConnectionRefusedGivesAnEmptyPage) {
    std::string url = "http://127.0.0.1:" + std::to_string(test::refused_port()) + "/";
    EXPECT_EQ(net::fetch_page(url), "");  // the 60 s default was not needed to get here
}

class MalformedUrl : public testing::TestWithParam<std::string> {
  protected:
    void SetUp() override { net::clear_cookies(); }
};

TEST_P(MalformedUrl, GivesAnEmptyPageWithoutTimingOut) {
    RawHttpServer server(Reply::ok("should not be reached"));
    std::string url = GetParam();
    const std::string port = std::to_string(server.port());
    for (auto at = url.find("PORT"); at != std::string::npos; at = url.find("PORT")) {
        url.replace(at, 4, port);
    }
    EXPECT_EQ(net::fetch_page(url, with_timeout(10)), "");
    EXPECT_EQ(server.request_count(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, MalformedUrl,
                         testing::Values("http://", "http:///x", "http://:PORT/",
                                         "http://127.0.0.1:99999/", "http://127.0.0.1:-1/",
                                         "http://user@127.0.0.1:PORT/", "http://127.0.0.1 :PORT/",
                                         "http://[::1]:PORT/", "http://127.0.0.1:PORT/a b",
                                         "http://127.0.0.1:PORT/a\r\nX-Injected: 1",
                                         "http://\xD6\xD0.test:PORT/", "\x01\x02\x03",
                                         std::string(70000, 'a')));

TEST_F(FetchResponse, WorkersShareTheCookieStoreSafely) {
    std::atomic<int> next{0};
    RawHttpServer server([&](const std::string&) {
        const int n = next++;
        return Reply::ok(
            "x", "Set-Cookie: c" + std::to_string(n) + "=" + std::to_string(n) + "; Path=/\r\n");
    });
    std::vector<std::thread> workers;
    for (int i = 0; i < 8; ++i) {
        workers.emplace_back([&] {
            for (int j = 0; j < 5; ++j) {
                net::FetchRequest request;
                request.url = server.url("/set");
                net::fetch_worker(request);
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    net::FetchRequest probe;
    probe.url = server.url("/probe");
    net::fetch_worker(probe);
    const auto lines = test::split_request(server.last_request()).head_lines;
    const auto cookie = std::find_if(
        lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("Cookie: "); });
    ASSERT_NE(cookie, lines.end());
    for (int n = 0; n < 40; ++n) {
        const std::string pair = "c" + std::to_string(n) + "=" + std::to_string(n);
        EXPECT_NE((*cookie + ";").find(" " + pair + ";"), std::string::npos) << pair;
    }
}

}  // namespace
