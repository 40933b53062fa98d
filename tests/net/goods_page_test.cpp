// 网页_访问 on the calling thread: events between reads, the caller's
// variables, the bad access method.
#include "net/goods_page.h"

#include <gtest/gtest.h>

#include "net/cookie_store.h"
#include "net/request_headers.h"
#include "plain/message_recorder.h"
#include "plain/queue_event_pump.h"
#include "plain/raw_http_server.h"
#include "text/codepage.h"

namespace {

using namespace std::chrono_literals;
using test::RawHttpServer;
using test::Reply;

class GoodsPage : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }
    test::QueueEventPump pump;
    test::ScopedEventPump installed{pump};
};

TEST_F(GoodsPage, EventsAreDispatchedWhileTheAnswerIsAwaited) {
    Reply reply = Reply::ok("goods");
    reply.hold = true;
    RawHttpServer server(reply);
    // The answer is held until this event runs, so the fetch can only end if
    // events are dispatched during it.
    pump.post([&] { server.release(); });
    std::string url = server.url("/goods2.html?goods_id=1");
    EXPECT_EQ(net::网页_访问(url), "goods");
    EXPECT_EQ(pump.events_run(), 1);
}

TEST_F(GoodsPage, EventsAreDispatchedBeforeEachRead) {
    Reply reply = Reply::ok("abcdefgh");
    reply.piece = 2;
    reply.pause = 20ms;
    RawHttpServer server(reply);
    std::string url = server.url("/");
    EXPECT_EQ(net::网页_访问(url), "abcdefgh");
    EXPECT_GE(pump.dispatch_calls(), 2);
}

TEST_F(GoodsPage, ClosingProgramEndsTheRead) {
    Reply reply = Reply::ok("never");
    reply.hold = true;
    RawHttpServer server(reply);
    pump.set_closing(true);
    std::string url = server.url("/");
    EXPECT_EQ(net::网页_访问(url), "");
}

TEST_F(GoodsPage, BadAccessMethodShowsTheMessageAndSendsNothing) {
    RawHttpServer server(Reply::ok("x"));
    test::MessageRecorder recorder;
    std::string url = " " + server.url("/") + " ";
    net::GoodsFetchOptions options;
    options.method = 2;
    EXPECT_EQ(net::网页_访问(url, options), "");
    const auto shown = recorder.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, GBK("【网页_访问】命令的第二个【访问方式】参数有误,请返回修改"));
    EXPECT_EQ(shown[0].caption, GBK("友情提醒"));
    EXPECT_EQ(shown[0].style, 64);
    EXPECT_EQ(url, server.url("/"));  // trimmed before the method was checked
    EXPECT_EQ(server.request_count(), 0u);
}

TEST_F(GoodsPage, UrlAndHeadersAreCompletedInPlace) {
    RawHttpServer server(Reply::ok("x", "X-A: b\r\n"));
    const std::string bare = "127.0.0.1:" + std::to_string(server.port()) + "/g";
    std::string url = "\xA1\xA1" + bare + " ";
    std::string headers = "X-Mine: 1\r\n";
    std::string response_headers;
    net::GoodsFetchOptions options;
    options.headers = &headers;
    options.response_headers = &response_headers;
    EXPECT_EQ(net::网页_访问(url, options), "x");
    EXPECT_EQ(url, "http://" + bare);
    EXPECT_EQ(headers, "X-Mine: 1\r\n" + net::default_accept_line() + "Referer: http://" + bare +
                           "\r\n" + net::default_language_line());
    EXPECT_EQ(response_headers, "HTTP/1.1 200 OK\r\nContent-Length: 1\r\nX-A: b\r\n\r\n");
}

TEST_F(GoodsPage, ResponseHeadersAreAlwaysWritten) {
    std::string url = "http://127.0.0.1:" + std::to_string(test::refused_port()) + "/";
    std::string response_headers = "old";
    net::GoodsFetchOptions options;
    options.response_headers = &response_headers;
    EXPECT_EQ(net::网页_访问(url, options), "");
    EXPECT_EQ(response_headers, "");
}

TEST_F(GoodsPage, EmptyUrlBecomesTheBareSchemeAndFails) {
    std::string url;
    EXPECT_EQ(net::网页_访问(url), "");
    EXPECT_EQ(url, "http://");
}

TEST_F(GoodsPage, TextEndsAtTheFirstNulAndConversionApplies) {
    RawHttpServer nul(Reply::ok(std::string("ab\0cd", 5)));
    EXPECT_EQ(net::fetch_page_text(nul.url("/")), "ab");
    RawHttpServer utf8(Reply::ok("\xE5\x95\x86\xE5\x93\x81"));  // 商品
    std::string url = utf8.url("/");
    net::GoodsFetchOptions options;
    options.conversion = 1;
    EXPECT_EQ(net::网页_访问(url, options), GBK("商品"));
    EXPECT_EQ(net::fetch_page_text(utf8.url("/")), "\xE5\x95\x86\xE5\x93\x81");
}

}  // namespace
