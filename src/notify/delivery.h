#pragma once
// One attempt to hand a message to a channel, on the calling thread.
#include <cstdint>
#include <string>

#include "notify/channel.h"
#include "notify/message.h"

namespace notify {

struct DeliveryResult {
    int attempts = 0;
    bool delivered = false;
    // Why not, naming the channel and never a secret: "通知通道 team：HTTP 500".
    std::string error;
    // What the server said last ("HTTP 200 {"errcode":0,...}", "SMTP 250"), secrets masked.
    std::string answer;
};

struct Attempt {
    bool delivered = false;
    bool worth_retrying = false;  // a failure that may pass (connection, 5xx, 429, robot code)
    std::string problem;          // empty when delivered
    std::string answer;
};

// Per attempt: a connection within this time, the whole exchange within the next.
inline constexpr long kConnectTimeoutMs = 10000;
inline constexpr long kAttemptTimeoutMs = 30000;

Attempt send_once(const Channel& channel, const Content& content, std::int64_t now_ms);

Attempt post_webhook(const Channel& channel, const Content& content, std::int64_t now_ms);
Attempt send_mail(const Channel& channel, const Content& content, std::int64_t now_ms);

// `korvel-check --test-notify NAME`: one short test message, sent at once,
// with the server's answer.
DeliveryResult send_test(const Channel& channel);

// The result of a delivery made of `attempts` tries, the last being `last`.
DeliveryResult result_of(const Channel& channel, int attempts, const Attempt& last);

// Unix time in milliseconds now.
std::int64_t now_unix_ms();

}  // namespace notify
