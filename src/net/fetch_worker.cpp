#include "net/fetch_worker.h"

#include "net/exchange.h"
#include "net/request_headers.h"
#include "net/response_parts.h"
#include "net/target_url.h"
#include "text/primitives.h"

namespace net {

namespace {

Exchange exchange_for(const FetchRequest& request) {
    Exchange exchange;
    exchange.address = transfer_address(request.url);
    exchange.post = request.post;
    exchange.post_data = request.post_data;
    const HeaderContext context{request.url, request.post, request.post_data, request.cookie};
    exchange.header_lines = header_lines(complete_fetch_headers(request.headers, context));
    exchange.agent = agent_from_headers(request.headers).value_or(default_fetch_agent());
    exchange.proxy = text::trim(request.proxy);
    exchange.follow_redirects = request.allow_redirect;
    exchange.use_cookie_store = text::trim(request.cookie).empty();
    exchange.read_chunk = 2048;
    return exchange;
}

}  // namespace

FetchResponse fetch_worker(const FetchRequest& request, AbortSignal* abort) {
    ExchangeHooks hooks;
    hooks.abort = abort;
    ExchangeResult result = run_exchange(exchange_for(request), hooks);
    FetchResponse response;
    response.body = std::move(result.body);
    response.cookies = collect_cookies(result.header_block);
    response.header_block = std::move(result.header_block);
    response.status = result.status;
    response.error = result.error;
    return response;
}

}  // namespace net
