#include "net/goods_page.h"

#include <algorithm>

#include "net/event_pump.h"
#include "net/exchange.h"
#include "net/message_box.h"
#include "net/request_headers.h"
#include "net/response_parts.h"
#include "net/target_url.h"
#include "text/codepage.h"
#include "text/primitives.h"

namespace net {

namespace {

// Waits on the sockets are this short so the window's events are handled
// promptly while a goods page is read on the window's own thread.
constexpr int kEventPollMs = 20;
// The platform's own limits: a server that cannot be reached, or that sends
// nothing for this long, ends the exchange.
constexpr long kConnectTimeoutMs = 60000;
constexpr long kIdleTimeoutS = 60;
// A server that drips a byte now and then never trips the idle limit: the
// whole exchange ends after this long however the bytes arrive.
constexpr long kOverallTimeoutMs = 120000;

bool is_agent_line(const std::string& line) {
    return text::find(line, "User-Agent:", 1, true) == 1;
}

// The agent is fixed: a User-Agent line of the caller's text stays in the
// text but is not sent in its place.
std::vector<std::string> lines_to_send(const std::string& headers) {
    std::vector<std::string> lines = header_lines(headers);
    lines.erase(std::remove_if(lines.begin(), lines.end(), is_agent_line), lines.end());
    return lines;
}

std::string proxy_of(const GoodsFetchOptions& options) {
    const std::string proxy = options.proxy.value_or("");
    return text::remove_spaces(proxy).empty() ? std::string() : text::trim(proxy);
}

bool dispatch_events() {
    EventPump& pump = event_pump();
    pump.dispatch_pending();
    return !pump.closing();
}

}  // namespace

std::string 网页_访问(std::string& url, const GoodsFetchOptions& options) {
    url = text::trim(url);
    const int method = options.method.value_or(0);
    if (method != 0 && method != 1) {
        show_message(GBK("【网页_访问】命令的第二个【访问方式】参数有误,请返回修改"), 64,
                     GBK("友情提醒"));
        return {};
    }
    url = with_scheme(url);

    std::string own_headers;
    std::string& headers = options.headers != nullptr ? *options.headers : own_headers;
    const std::string post_data(text::as_text(options.post_data.value_or("")));
    const std::string cookie = options.cookie.value_or("");
    headers = complete_goods_headers(headers, {url, method == 1, post_data, cookie});

    Exchange exchange;
    exchange.address = transfer_address(url);
    exchange.post = method == 1;
    exchange.post_data = post_data;
    exchange.header_lines = lines_to_send(headers);
    exchange.agent = goods_page_agent();
    exchange.proxy = proxy_of(options);
    exchange.use_cookie_store = text::trim(cookie).empty();
    exchange.read_chunk = 1024;
    exchange.connect_timeout_ms = kConnectTimeoutMs;
    exchange.idle_timeout_s = kIdleTimeoutS;
    exchange.total_timeout_ms = kOverallTimeoutMs;

    ExchangeHooks hooks;
    hooks.before_read = dispatch_events;
    hooks.poll_ms = kEventPollMs;
    ExchangeResult result = run_exchange(exchange, hooks);
    if (options.response_headers != nullptr) {
        *options.response_headers = result.header_block;
    }
    return apply_conversion(std::move(result.body), options.conversion);
}

std::string fetch_page_text(std::string url) {
    return std::string(text::as_text(网页_访问(url)));
}

}  // namespace net
