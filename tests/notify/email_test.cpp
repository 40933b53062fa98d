// The e-mail channel against a loopback SMTP server: the message read back
// and decoded, and the SMTP replies that end a delivery.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "delivery_fixture.h"
#include "notify/run_text.h"
#include "plain/raw_http_server.h"
#include "plain/smtp_server.h"

namespace {

using notify::Channel;
using notify::ChannelKind;

std::string decode_base64(std::string_view text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (char c : text) {
        const auto at = alphabet.find(c);
        if (at == std::string::npos)
            continue;  // line ends and padding
        bits = (bits << 6) | static_cast<unsigned>(at);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out += static_cast<char>((bits >> count) & 0xFF);
        }
    }
    return out;
}

// The header's value with its folded lines, each encoded word decoded.
std::string decoded_header(const std::string& message, const std::string& name,
                           std::vector<std::string>* words) {
    auto at = message.find("\r\n" + name + ": ");
    std::string value;
    for (at += name.size() + 4;; at += 3) {
        const auto end = message.find("\r\n", at);
        const std::string word = message.substr(at, end - at);
        words->push_back(word);
        const auto open = word.find("=?UTF-8?B?");
        const auto close = word.find("?=", open + 10);
        value += open == std::string::npos
                     ? word
                     : word.substr(0, open) +
                           decode_base64(word.substr(open + 10, close - open - 10)) +
                           word.substr(close + 2);
        at = end;
        if (message.compare(end, 3, "\r\n ") != 0)
            return value;
    }
}

Channel mail_channel(const std::string& smtp) {
    Channel channel{"mail", ChannelKind::email};
    channel.smtp = smtp;
    channel.user = "korvel@example.com";
    channel.password = "pa55-w0rd!";
    channel.from = "Korvel 看板 <korvel@example.com>";
    channel.to = {"a@example.com", "b@example.com"};
    return channel;
}

TEST(Email, DeliversAMimeMessageWithAnEncodedChineseSubject) {
    test::SmtpServer server;
    const notify::RunMessage run{
        "夏季辣条大礼包的关键词看板（本店与竞品）",
        test::kSendTime,
        {{"辣条 · 销量", "第30名", "第12名", "rank_move", "辣条 · 销量：上升18名"}}};
    std::vector<std::chrono::milliseconds> sleeps;
    const auto result = test::deliver(mail_channel(server.url()), run, &sleeps);
    ASSERT_TRUE(result.delivered) << result.error;
    EXPECT_EQ(result.answer, "SMTP 250");

    const auto sessions = server.sessions();
    ASSERT_EQ(sessions.size(), 1u);
    const auto& commands = sessions[0].commands;
    const auto has = [&](const std::string& line) {
        return std::find(commands.begin(), commands.end(), line) != commands.end();
    };
    EXPECT_TRUE(has("MAIL FROM:<korvel@example.com>"));
    EXPECT_TRUE(has("RCPT TO:<a@example.com>"));
    EXPECT_TRUE(has("RCPT TO:<b@example.com>"));
    // libcurl sends the credentials on the line after "AUTH PLAIN".
    const auto login = std::find(commands.begin(), commands.end(), "AUTH PLAIN");
    ASSERT_LT(login + 1, commands.end());
    EXPECT_EQ(decode_base64(login[1]), std::string("\0korvel@example.com\0pa55-w0rd!", 30));

    const std::string& message = "\r\n" + sessions[0].data;
    const int offset = notify::local_utc_offset_minutes(test::kSendTime);
    std::vector<std::string> words;
    EXPECT_EQ(decoded_header(message, "Subject", &words), notify::subject_of(run, offset));
    EXPECT_GT(words.size(), 1u);  // long enough to be folded
    for (const auto& word : words)
        EXPECT_LE(word.size(), 75u) << word;
    for (const char* line :
         {"\r\nMIME-Version: 1.0\r\n", "\r\nContent-Type: text/plain; charset=UTF-8\r\n",
          "\r\nContent-Transfer-Encoding: base64\r\n", "\r\nTo: a@example.com, b@example.com\r\n",
          "\r\nDate: Tue, 14 Nov 2023 22:13:20 +0000\r\n"})
        EXPECT_NE(message.find(line), std::string::npos) << line;
    std::vector<std::string> from_words;
    EXPECT_EQ(decoded_header(message, "From", &from_words), "Korvel 看板 <korvel@example.com>");
    std::string body = notify::run_text(run, offset);
    for (auto at = body.find('\n'); at != std::string::npos; at = body.find('\n', at + 2))
        body.replace(at, 1, "\r\n");
    EXPECT_EQ(decode_base64(message.substr(message.find("\r\n\r\n") + 4)), body);
}

// The test server offers no STARTTLS. Standing in for a remote relay (its
// name resolved to loopback), it must never see the login; as this machine,
// named in any letter case, it may.
TEST(Email, ThePasswordGoesOnlyOverTlsUnlessTheHostIsThisMachine) {
    test::SmtpServer server;
    const std::string port = server.url().substr(server.url().rfind(':') + 1);
    const notify::SendControl remote{nullptr, {"relay.example:" + port + ":127.0.0.1"}};
    for (const std::string& address :
         {"SMTP://relay.example:" + port, "smtp://127.0.0.1:x@relay.example:" + port,
          "relay.example:" + port}) {
        const auto attempt = notify::send_mail(mail_channel(address), std::string("主题\n正文"),
                                               test::kSendTime, remote);
        EXPECT_FALSE(attempt.delivered) << address;
        EXPECT_EQ(attempt.problem.find("pa55-w0rd!"), std::string::npos);
    }
    for (const auto& session : server.sessions()) {
        for (const auto& command : session.commands)
            EXPECT_FALSE(command.starts_with("AUTH")) << command;
    }
    const auto local = notify::send_mail(mail_channel("SMTP://LocalHost:" + port),
                                         std::string("主题\n正文"), test::kSendTime);
    EXPECT_TRUE(local.delivered) << local.problem;
}

// A send cut off before the message left (the program ending while the
// server has not even greeted) is no send in doubt: a later run may send it.
TEST(Email, ACutBeforeTheMessageLeftIsNoSendInDoubt) {
    test::Reply silent = test::Reply::ok("");
    silent.hold = true;
    test::RawHttpServer mute(silent);
    net::AbortSignal ending;
    auto cut = std::async(std::launch::async, [&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ending.abort();
    });
    const auto attempt =
        notify::send_mail(mail_channel("smtp://127.0.0.1:" + std::to_string(mute.port())),
                          std::string("主题\n正文"), test::kSendTime, {&ending, {}});
    EXPECT_FALSE(attempt.delivered);
    EXPECT_FALSE(attempt.cut_off);
    EXPECT_FALSE(attempt.worth_retrying);
}

TEST(Email, ATemporaryRefusalIsRetriedAPermanentOneIsNot) {
    for (const auto& [reply, attempts] :
         std::vector<std::pair<std::string, int>>{{"451 try later", 3}, {"554 refused", 1}}) {
        test::SmtpServer server(reply);
        std::vector<std::chrono::milliseconds> sleeps;
        const auto result =
            test::deliver(mail_channel(server.url()), std::string("主题\n正文"), &sleeps);
        EXPECT_FALSE(result.delivered);
        EXPECT_EQ(result.attempts, attempts) << reply;
        EXPECT_TRUE(result.error.starts_with("通知通道 mail：SMTP " + reply.substr(0, 3)))
            << result.error;
        EXPECT_EQ(result.error.find("pa55-w0rd!"), std::string::npos);
    }
}

}  // namespace
