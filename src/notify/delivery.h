#pragma once
// One attempt to hand a message to a channel, on the calling thread.
#include <cstdint>
#include <string>
#include <vector>

#include "net/abort_signal.h"
#include "notify/channel.h"
#include "notify/message.h"

namespace notify {

struct DeliveryResult {
    int attempts = 0;
    bool delivered = false;
    // The last try was cut off mid-transfer (the program was ending): the
    // server may have taken the message, so it must not be sent again.
    bool cut_off = false;
    // Why not, naming the channel and never a secret: "通知通道 team：HTTP 500".
    std::string error;
    // What the server said last ("HTTP 200 {"errcode":0,...}", "SMTP 250"), secrets masked.
    std::string answer;
};

struct Attempt {
    bool delivered = false;
    bool worth_retrying = false;  // a failure that may pass (connection, 5xx, 429, robot code)
    bool cut_off = false;         // aborted mid-transfer: whether it arrived is unknown
    std::string problem;          // empty when delivered
    std::string answer;
};

// Per attempt: a connection within this time, the whole exchange within the next.
inline constexpr long kConnectTimeoutMs = 10000;
inline constexpr long kAttemptTimeoutMs = 30000;

// How one try may be steered from outside.
struct SendControl {
    // Ends the transfer early when fired (the program is ending).
    net::AbortSignal* abort = nullptr;
    // libcurl's "host:port:address" entries in place of name resolution:
    // for tests that stand a loopback server in for a remote one.
    std::vector<std::string> resolve{};
};

Attempt send_once(const Channel& channel, const Content& content, std::int64_t now_ms,
                  const SendControl& control = {});

Attempt post_webhook(const Channel& channel, const Content& content, std::int64_t now_ms,
                     const SendControl& control = {});
Attempt send_mail(const Channel& channel, const Content& content, std::int64_t now_ms,
                  const SendControl& control = {});

// `korvel-check --test-notify NAME`: one short test message, sent at once,
// with the server's answer.
DeliveryResult send_test(const Channel& channel);

// The result of a delivery made of `attempts` tries, the last being `last`.
DeliveryResult result_of(const Channel& channel, int attempts, const Attempt& last);

// Unix time in milliseconds now.
std::int64_t now_unix_ms();

}  // namespace notify
