#include "net/exchange.h"
#include "notify/delivery.h"
#include "notify/run_text.h"
#include "notify/webhook.h"

namespace notify {

namespace {

constexpr std::size_t kAnswerShown = 300;   // bytes of a server's answer kept for the user
constexpr std::size_t kMessageShown = 200;  // bytes of a robot's own error message

std::string transfer_problem(net::TransferError error) {
    return error == net::TransferError::timeout ? "no answer in time" : "no connection";
}

// A robot's own error code (under 200 OK), a server failing or asking for
// patience may pass; a redirect or another 4xx means the address or the
// message is wrong, and trying again will not help.
bool may_pass(int status) {
    return (status >= 200 && status <= 299) || status >= 500 || status == 408 || status == 429;
}

}  // namespace

Attempt post_webhook(const Channel& channel, const Content& content, std::int64_t now_ms,
                     const SendControl& control) {
    const WebhookRequest request =
        webhook_request(channel, content, now_ms, local_utc_offset_minutes(now_ms));
    net::Exchange exchange;
    exchange.address = request.url;
    exchange.post = true;
    exchange.post_data = request.body;
    exchange.header_lines = {"Content-Type: application/json; charset=utf-8"};
    exchange.agent = "Korvel";
    // A robot does not redirect; following one would carry the message elsewhere.
    exchange.follow_redirects = false;
    exchange.use_cookie_store = false;
    exchange.connect_timeout_ms = kConnectTimeoutMs;
    exchange.total_timeout_ms = kAttemptTimeoutMs;
    net::ExchangeHooks hooks;
    hooks.abort = control.abort;
    const net::ExchangeResult result = net::run_exchange(exchange, hooks);

    Attempt attempt;
    if (!result.completed) {
        const bool ended = result.error == net::TransferError::abandoned;
        // Cut off after the request left: the robot may have taken it.
        attempt.cut_off = ended && result.request_sent;
        attempt.problem = attempt.cut_off ? "发送中断，不知是否送达"
                          : ended         ? "程序退出，未发出"
                                          : transfer_problem(result.error);
        attempt.worth_retrying = !ended;
        return attempt;
    }
    // Masked before anything is cut: half a key left by the cut would not match.
    attempt.answer = "HTTP " + std::to_string(result.status) + " " +
                     cut_utf8(redacted(result.body, channel), kAnswerShown);
    const auto problem = answer_problem(channel.kind, result.status, result.body);
    attempt.delivered = !problem;
    if (problem) {
        attempt.problem = cut_utf8(redacted(*problem, channel), kMessageShown);
        attempt.worth_retrying = may_pass(result.status);
    }
    return attempt;
}

}  // namespace notify
