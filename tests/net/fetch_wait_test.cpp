// How fetch_page waits for its worker: through the event pump, up to the
// deadline, with the worker abandoned when the deadline wins.
#include <gtest/gtest.h>

#include <cstdlib>

#include "net/cookie_store.h"
#include "net/fetch_page.h"
#include "net/plain_event_pump.h"
#include "plain/queue_event_pump.h"
#include "plain/raw_http_server.h"

namespace {

using namespace std::chrono_literals;
using test::QueueEventPump;
using test::RawHttpServer;
using test::Reply;

Reply held(std::string body) {
    Reply reply = Reply::ok(std::move(body));
    reply.hold = true;  // answered only after the test is over
    return reply;
}

net::FetchOptions with_timeout(int seconds) {
    net::FetchOptions options;
    options.timeout_seconds = seconds;
    return options;
}

class FetchWait : public testing::Test {
  protected:
    void SetUp() override { net::clear_cookies(); }
    QueueEventPump pump;
    test::ScopedEventPump installed{pump};
};

TEST_F(FetchWait, DeadlineGivesTheTimeoutMessageWhileEventsAreDispatched) {
    int events = 0;
    RawHttpServer server([&](const std::string&) {
        pump.post([&] { ++events; });  // arrives while the caller waits
        return held("late");
    });
    pump.post([&] { ++events; });
    std::string url = server.url("/slow");
    std::string headers = "untouched";
    net::FetchOptions options = with_timeout(1);
    options.response_headers = &headers;

    const auto start = net::Clock::now();
    const std::string body = net::fetch_page(url, options);

    EXPECT_EQ(body, net::timeout_message());
    EXPECT_GE(net::Clock::now() - start, 1s);
    EXPECT_EQ(events, 2);
    EXPECT_EQ(headers, "untouched");
    EXPECT_EQ(server.request_count(), 1u);
}

TEST_F(FetchWait, TimeoutMessageIsTheGbkText) {
    const std::string& message = net::timeout_message();
    EXPECT_TRUE(message.starts_with("\xB3\xAC\xCA\xB1\xB7\xB5\xBB\xD8\xA3\xAC"));  // 超时返回，
    EXPECT_TRUE(message.ends_with("\xA1\xA3"));                                    // 。
    EXPECT_EQ(message.find('\0'), std::string::npos);
}

TEST_F(FetchWait, FastAnswerReturnsThePage) {
    RawHttpServer server(Reply::ok("quick"));
    std::string url = server.url("/fast");
    EXPECT_EQ(net::fetch_page(url, with_timeout(2)), "quick");
    EXPECT_GE(pump.waits(), 1);
    EXPECT_GE(pump.dispatch_calls(), 1);
}

// A pump that only returns after the deadline, by which time the worker
// has finished.
class LatePump : public net::EventPump {
  public:
    void dispatch_pending() override {}
    bool wait_until(const std::function<bool()>& done, net::Clock::time_point deadline) override {
        inner_.wait_until([] { return false; }, deadline);
        saw_done = inner_.wait_until(done, net::Clock::now() + 60s);
        return saw_done;
    }
    void wake() override { inner_.wake(); }
    bool saw_done = false;

  private:
    net::PlainEventPump inner_;
};

TEST(FetchWaitLate, WorkerFinishedAfterTheDeadlineStillCountsAsTimeout) {
    LatePump late;
    test::ScopedEventPump installed(late);
    RawHttpServer server(Reply::ok("done in time?"));
    std::string url = server.url("/");
    std::string cookies = "untouched";
    net::FetchOptions options = with_timeout(1);
    options.response_cookies = &cookies;
    EXPECT_EQ(net::fetch_page(url, options), net::timeout_message());
    EXPECT_TRUE(late.saw_done);
    EXPECT_EQ(cookies, "untouched");
}

TEST_F(FetchWait, ZeroTimeoutIsAnImmediateTimeout) {
    RawHttpServer server(held("never"));
    std::string url = server.url("/");
    EXPECT_EQ(net::fetch_page(url, with_timeout(0)), net::timeout_message());
}

TEST_F(FetchWait, HandlerRunningInsideTheWaitCanFetchToo) {
    RawHttpServer outer_server(Reply::ok("outer"));
    RawHttpServer inner_server(Reply::ok("inner"));
    std::string inner;
    pump.post([&] {
        std::string url = inner_server.url("/inner");
        inner = net::fetch_page(url);
    });
    std::string url = outer_server.url("/outer");
    EXPECT_EQ(net::fetch_page(url), "outer");
    EXPECT_EQ(inner, "inner");
}

TEST_F(FetchWait, ClosingProgramEndsTheWaitWithAnEmptyPage) {
    RawHttpServer server(held("never"));
    pump.set_closing(true);
    std::string url = server.url("/");
    EXPECT_EQ(net::fetch_page(url), "");
}

TEST_F(FetchWait, SpaceOnlyUrlReturnsAtOnceWithoutWaiting) {
    for (std::string url : {std::string(""), std::string("   "), std::string(" \xA1\xA1 ")}) {
        const std::string before = url;
        EXPECT_EQ(net::fetch_page(url), "");
        EXPECT_EQ(url, before);
    }
    EXPECT_EQ(pump.waits(), 0);
}

TEST_F(FetchWait, UrlWithoutSchemeIsPrefixedAndWrittenBack) {
    RawHttpServer server(Reply::ok("ok"));
    const std::string bare = "127.0.0.1:" + std::to_string(server.port()) + "/bare";
    std::string url = "  " + bare + " ";
    EXPECT_EQ(net::fetch_page(url), "ok");
    EXPECT_EQ(url, "http://" + bare);
    EXPECT_TRUE(server.last_request().starts_with("GET /bare HTTP/1.1\r\n"));
}

TEST(FetchWaitExit, ProgramEndingDuringAWaitExitsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QueueEventPump pump;
            test::ScopedEventPump installed(pump);
            auto* server = new RawHttpServer([&pump](const std::string&) {
                // The worker is inside its transfer when the program ends.
                pump.post([] { std::exit(0); });
                return held("never");
            });
            std::string url = server->url("/");
            net::fetch_page(url);
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
