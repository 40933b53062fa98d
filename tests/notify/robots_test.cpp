// The webhook channels over real HTTP on loopback: each robot's request
// shape and signature, retries, and that no secret reaches a result.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>

#include "delivery_fixture.h"
#include "plain/raw_http_server.h"

namespace {

using notify::Channel;
using notify::ChannelKind;

const std::string kOk = R"({"errcode":0,"errmsg":"ok"})";
const std::string kText = "你好\n\"Korvel\"";
const std::string kQuotedText = R"("你好\n\"Korvel\"")";

struct ShapeCase {
    const char* name;
    ChannelKind kind;
    std::string path;  // of the webhook address
    std::string secret;
    notify::Content content;
    std::string target;  // what the server sees
    std::string body;
};

void PrintTo(const ShapeCase& c, std::ostream* out) {
    *out << c.name;
}

class RobotShape : public testing::TestWithParam<ShapeCase> {};

TEST_P(RobotShape, PostsTheRobotsJsonToItsAddress) {
    const ShapeCase& c = GetParam();
    test::RawHttpServer server(test::Reply::ok(kOk));
    const Channel channel{"team", c.kind, server.url(c.path), c.secret};
    std::vector<std::chrono::milliseconds> sleeps;
    const auto result = test::deliver(channel, c.content, &sleeps);
    EXPECT_TRUE(result.delivered) << result.error;
    EXPECT_EQ(result.attempts, 1);
    const std::string request = server.last_request();
    EXPECT_EQ(test::request_target(request), c.target);
    EXPECT_EQ(test::header_value(request, "Content-Type"), "application/json; charset=utf-8");
    EXPECT_EQ(test::split_request(request).body, c.body);
}

// Signatures worked out once with the openssl command line:
//   printf '1700000000000\nSEC0123456789abcdef' |
//     openssl dgst -sha256 -hmac 'SEC0123456789abcdef' -binary | base64
//   printf '' | openssl dgst -sha256 -mac HMAC -macopt key:"$(printf '1700000000\nfeishu-secret')"
//     -binary | base64
INSTANTIATE_TEST_SUITE_P(
    Kinds, RobotShape,
    testing::Values(
        ShapeCase{"WecomText", ChannelKind::wecom, "/cgi-bin/webhook/send?key=k1", "", kText,
                  "/cgi-bin/webhook/send?key=k1",
                  R"({"msgtype":"text","text":{"content":)" + kQuotedText + "}}"},
        ShapeCase{"WecomMarkdown", ChannelKind::wecom_markdown, "/send?key=k1", "", kText,
                  "/send?key=k1",
                  R"({"msgtype":"markdown","markdown":{"content":)" + kQuotedText + "}}"},
        ShapeCase{"DingtalkSigned", ChannelKind::dingtalk, "/robot/send?access_token=t1",
                  "SEC0123456789abcdef", kText,
                  "/robot/send?access_token=t1&timestamp=1700000000000"
                  "&sign=TSZbRFUuvaSQaRKUpF970OPCb2%2FLcQAP3wOvwZIzBZk%3D",
                  R"({"msgtype":"text","text":{"content":)" + kQuotedText + "}}"},
        ShapeCase{
            "FeishuSigned", ChannelKind::feishu, "/open-apis/bot/v2/hook/h1", "feishu-secret",
            kText, "/open-apis/bot/v2/hook/h1",
            R"({"timestamp":"1700000000","sign":"OrBzY1Y01Gq+HgJsl+7OfWcMVwc7YocohQm5iiZwjhU=",)"
            R"("msg_type":"text","content":{"text":)" +
                kQuotedText + "}}"},
        ShapeCase{"FeishuUnsigned", ChannelKind::feishu, "/hook/h1", "", kText, "/hook/h1",
                  R"({"msg_type":"text","content":{"text":)" + kQuotedText + "}}"},
        ShapeCase{
            "OwnJsonRun", ChannelKind::json, "/hook", "",
            notify::RunMessage{
                "我的看板",
                test::kSendTime,
                {{"辣条 · 销量", "第30名", "第12名", "rank_move", "辣条 · 销量：上升18名"},
                 {"新品", "第9名", "第2名", "rank_move", "新品：上升7名", 7, true}}},
            "/hook",
            R"({"board":"我的看板","time":"2023-11-14T22:13:20.000Z","time_ms":1700000000000,)"
            R"("notices":[{"cell":"辣条 · 销量","before":"第30名","after":"第12名",)"
            R"("kind":"rank_move","message":"辣条 · 销量：上升18名"},)"
            R"({"cell":"新品","before":"第9名","after":"第2名","kind":"rank_move",)"
            R"("message":"新品：上升7名","late":true}]})"},
        ShapeCase{"OwnJsonText", ChannelKind::json, "/hook", "", kText, "/hook",
                  R"({"time":"2023-11-14T22:13:20.000Z","time_ms":1700000000000,"text":)" +
                      kQuotedText + "}"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RetryCase {
    const char* name;
    std::vector<test::Reply> replies;  // in order; the last one repeats
    int attempts;
    bool delivered;
    std::string error;
};

void PrintTo(const RetryCase& c, std::ostream* out) {
    *out << c.name;
}

class Retries : public testing::TestWithParam<RetryCase> {};

TEST_P(Retries, TriesAgainAfterBackoffAndReportsTheLastProblem) {
    const RetryCase& c = GetParam();
    std::atomic<std::size_t> served{0};
    test::RawHttpServer server(
        [&](const std::string&) { return c.replies[std::min(served++, c.replies.size() - 1)]; });
    const Channel channel{"team", ChannelKind::wecom, server.url("/send?key=KEY-0123456789")};
    std::vector<std::chrono::milliseconds> sleeps;
    const auto result = test::deliver(channel, std::string("x"), &sleeps);
    EXPECT_EQ(result.attempts, c.attempts);
    EXPECT_EQ(result.delivered, c.delivered);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(server.request_count(), static_cast<std::size_t>(c.attempts));
    const std::vector<std::chrono::milliseconds> backoff = {std::chrono::seconds(2),
                                                            std::chrono::seconds(4)};
    EXPECT_EQ(sleeps, std::vector(backoff.begin(), backoff.begin() + (c.attempts - 1)));
    for (const std::string& text : {result.error, result.answer}) {
        EXPECT_EQ(text.find("KEY-0123456789"), std::string::npos) << text;
        EXPECT_EQ(text.find("127.0.0.1"), std::string::npos) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Retries,
    testing::Values(
        RetryCase{
            "ServerErrorThenOk",
            {test::Reply::status("HTTP/1.1 500 Internal Server Error", ""),
             test::Reply::status("HTTP/1.1 500 Internal Server Error", ""), test::Reply::ok(kOk)},
            3,
            true,
            ""},
        // The robot echoes the address's key in its message; the result must not.
        RetryCase{"RobotErrcodeEveryTime",
                  {test::Reply::ok(R"({"errcode":93000,"errmsg":"invalid key KEY-0123456789"})")},
                  3,
                  false,
                  "通知通道 team：errcode 93000：invalid key ***"},
        RetryCase{"NotFoundIsNotRetried",
                  {test::Reply::status("HTTP/1.1 404 Not Found", "")},
                  1,
                  false,
                  "通知通道 team：HTTP 404"}),
    [](const auto& info) { return std::string(info.param.name); });

struct EchoCase {
    const char* name;
    // Bytes before the echo, so that the key straddles where the robot's
    // message (200 bytes) or its whole answer (300 bytes) is cut.
    std::size_t padding;
    // The request target as the server echoes it.
    std::string (*echo)(const std::string& target);
};

void PrintTo(const EchoCase& c, std::ostream* out) {
    *out << c.name;
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The key as written in the address is percent-encoded; a server may echo
// it so, decoded, with lower-case escapes, or JSON-escaped ("\/").
const std::string kKeyPath = "/cgi-bin/webhook/send?key=Zq%2BYw%2FEf0123456789";

class EchoingRobot : public testing::TestWithParam<EchoCase> {};

TEST_P(EchoingRobot, NoPieceOfTheKeyReachesAnyResult) {
    const EchoCase& c = GetParam();
    test::RawHttpServer server([&](const std::string& request) {
        const std::string echo = c.echo(test::request_target(request));
        return test::Reply::ok(R"({"errcode":93000,"errmsg":")" + std::string(c.padding, '.') +
                               " bad url " + echo + R"( hint: check it"})");
    });
    const Channel channel{"team", ChannelKind::wecom, server.url(kKeyPath)};
    std::vector<std::chrono::milliseconds> sleeps;
    const auto sent = test::deliver(channel, std::string("x"), &sleeps);
    const auto tested = notify::send_test(channel);
    EXPECT_FALSE(sent.delivered);
    EXPECT_NE((sent.error + sent.answer).find("***"), std::string::npos) << sent.answer;
    for (const std::string key : {"Zq%2BYw%2FEf0123456789", "Zq+Yw/Ef0123456789"}) {
        for (const std::string& text : {sent.error, sent.answer, tested.error, tested.answer}) {
            for (std::size_t at = 0; at + 4 <= key.size(); ++at)
                EXPECT_EQ(text.find(key.substr(at, 4)), std::string::npos) << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Forms, EchoingRobot,
    testing::Values(
        EchoCase{"PlainAcrossTheMessageCut", 150, [](const std::string& t) { return t; }},
        EchoCase{"PlainAcrossTheAnswerCut", 225, [](const std::string& t) { return t; }},
        EchoCase{
            "Decoded", 155,
            [](const std::string& t) { return replaced(replaced(t, "%2B", "+"), "%2F", "/"); }},
        EchoCase{
            "LowerCaseEscapes", 150,
            [](const std::string& t) { return replaced(replaced(t, "%2B", "%2b"), "%2F", "%2f"); }},
        EchoCase{"PercentEncodedAgain", 160,
                 [](const std::string& t) { return replaced(t, "%", "%25"); }},
        EchoCase{"JsonEscaped", 230,
                 [](const std::string& t) {
                     return replaced(replaced(replaced(t, "%2B", "+"), "%2F", "/"), "/", "\\/");
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SendTest, SendsATestMessageAtOnceAndGivesTheAnswer) {
    test::RawHttpServer server(test::Reply::ok(kOk));
    const auto result = notify::send_test({"钉钉", ChannelKind::dingtalk, server.url("/send")});
    EXPECT_TRUE(result.delivered);
    EXPECT_EQ(result.answer, "HTTP 200 " + kOk);
    EXPECT_NE(test::split_request(server.last_request()).body.find("测试消息"), std::string::npos);
}

TEST(Dispatcher, ConnectionRefusedIsRetriedAndNamesOnlyTheChannel) {
    const Channel channel{"team", ChannelKind::dingtalk,
                          "http://127.0.0.1:" + std::to_string(test::refused_port()) +
                              "/robot/send?access_token=TOKEN-abcdef",
                          "SECRET-abcdef"};
    std::vector<std::chrono::milliseconds> sleeps;
    const auto result = test::deliver(channel, std::string("x"), &sleeps);
    EXPECT_EQ(result.attempts, 3);
    EXPECT_EQ(result.error, "通知通道 team：no connection");
}

// At the drain limit the send in flight is cut off and settled as such (it
// may have arrived), and a message still queued is never claimed: it stays
// for a later run. No `done` runs once the owner has gone.
TEST(Dispatcher, AbandonsASendThatOutlastsTheDrainLimit) {
    test::Reply held = test::Reply::ok(kOk);
    held.hold = true;
    test::RawHttpServer server(held);
    std::atomic<bool> done{false};
    std::atomic<bool> queued_claimed{false};
    auto settled = std::make_shared<std::optional<notify::DeliveryResult>>();
    {
        notify::DispatcherOptions options;
        options.drain_limit = std::chrono::milliseconds(50);
        notify::Dispatcher dispatcher(options);
        notify::Dispatcher::Hooks hooks;
        hooks.settle = [settled](const notify::DeliveryResult& r) { *settled = r; };
        hooks.done = [&](notify::DeliveryResult) { done = true; };
        dispatcher.post({"team", ChannelKind::json, server.url("/hook")}, std::string("x"), hooks);
        notify::Dispatcher::Hooks later;
        later.claim = [&] {
            queued_claimed = true;
            return std::optional<notify::Content>(std::string("y"));
        };
        dispatcher.post({"team", ChannelKind::json, server.url("/later")}, std::string("y"), later);
        ASSERT_TRUE(server.wait_for_path("/hook"));
    }
    EXPECT_FALSE(done);
    EXPECT_FALSE(queued_claimed);
    ASSERT_TRUE(settled->has_value()) << "settled before the destructor returned";
    EXPECT_TRUE((*settled)->cut_off);
    EXPECT_FALSE((*settled)->delivered);
    EXPECT_FALSE(server.saw_path("/later"));
}

TEST(Dispatcher, SendsInTheOrderPostedAndSkipsARunWithoutNotices) {
    test::RawHttpServer server(test::Reply::ok(kOk));
    std::vector<std::chrono::milliseconds> sleeps;
    std::vector<std::string> order;
    {
        notify::Dispatcher dispatcher(test::recording_options(&sleeps));
        for (const char* path : {"/a", "/empty", "/b", "/c"}) {
            notify::Content content = std::string("x");
            if (path == std::string("/empty"))
                content = notify::RunMessage{"board", test::kSendTime, {}};
            dispatcher.post({"team", ChannelKind::json, server.url(path)}, content,
                            [&order, path](notify::DeliveryResult r) {
                                if (r.delivered)
                                    order.push_back(path);
                            });
        }
    }  // the destructor drains the queue
    EXPECT_EQ(order, (std::vector<std::string>{"/a", "/b", "/c"}));
    EXPECT_EQ(server.request_count(), 3u);
}

}  // namespace
