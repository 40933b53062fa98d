#include "net/exchange.h"
#include "notify/delivery.h"
#include "notify/run_text.h"
#include "notify/webhook.h"

namespace notify {

namespace {

constexpr std::size_t kAnswerShown = 300;  // bytes of a server's answer kept for the user

std::string transfer_problem(net::TransferError error) {
    return error == net::TransferError::timeout ? "no answer in time" : "no connection";
}

}  // namespace

Attempt post_webhook(const Channel& channel, const Content& content, std::int64_t now_ms) {
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
    const net::ExchangeResult result = net::run_exchange(exchange, {});

    Attempt attempt;
    if (!result.completed) {
        attempt.problem = transfer_problem(result.error);
        attempt.worth_retrying = true;
        return attempt;
    }
    attempt.answer =
        "HTTP " + std::to_string(result.status) + " " + cut_utf8(result.body, kAnswerShown);
    const auto problem = answer_problem(channel.kind, result.status, result.body);
    attempt.delivered = !problem;
    if (problem) {
        attempt.problem = *problem;
        // Other 4xx answers mean the address or the message is wrong: trying again will not help.
        const bool client_error = result.status >= 400 && result.status < 500 &&
                                  result.status != 408 && result.status != 429;
        attempt.worth_retrying = !client_error;
    }
    return attempt;
}

}  // namespace notify
