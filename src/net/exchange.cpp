#include "net/exchange.h"

#include <curl/curl.h>

#include "net/cookie_store.h"
#include "net/curl_handles.h"
#include "net/response_parts.h"

namespace net {

namespace {

// Where libcurl's callbacks put what arrives.
struct Sink {
    std::string body;
    HeaderBlock headers;
    const AbortSignal* abort = nullptr;
};

size_t take_body(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t bytes = size * count;
    try {
        sink->body.append(data, bytes);
    } catch (...) {
        return 0;  // out of memory: anything short of `bytes` ends the transfer
    }
    return bytes;
}

size_t take_header(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t bytes = size * count;
    const std::string_view line(data, bytes);
    try {
        // A new status line means a new response (after a redirect or an
        // interim answer): only the final one's body and headers count.
        if (line.starts_with("HTTP/")) {
            sink->body.clear();
        }
        sink->headers.add_line(line);
    } catch (...) {
        return 0;
    }
    return bytes;
}

int check_abort(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* sink = static_cast<Sink*>(user);
    return sink->abort != nullptr && sink->abort->aborted() ? 1 : 0;
}

// libcurl adds an "Accept: */*", an "Expect: 100-continue" for large bodies
// and a form Content-Type for POST on its own. An empty "Name:" line stops
// each of them; a real line of the same name in the header text still goes
// out, because libcurl sends the first line of a name it finds.
std::vector<std::string> lines_for_curl(const Exchange& exchange) {
    std::vector<std::string> lines = exchange.header_lines;
    for (const char* suppressed : {"Accept:", "Expect:", "Content-Type:"}) {
        lines.emplace_back(suppressed);
    }
    return lines;
}

void set_method(CURL* easy, const Exchange& exchange) {
    if (exchange.post) {
        curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, exchange.post_data.data());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(exchange.post_data.size()));
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
}

void set_route(CURL* easy, const Exchange& exchange) {
    // Only http and https are ever spoken, on redirects too.
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, exchange.follow_redirects ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 10L);
    // The proxy serves plain http only; an empty proxy also keeps libcurl
    // from taking one from the environment.
    const bool proxied = !exchange.proxy.empty() && exchange.address.starts_with("http://");
    curl_easy_setopt(easy, CURLOPT_PROXY, proxied ? exchange.proxy.c_str() : "");
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    if (exchange.connect_timeout_ms > 0) {
        curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, exchange.connect_timeout_ms);
    }
    if (exchange.idle_timeout_s > 0) {
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, exchange.idle_timeout_s);
    }
    if (exchange.total_timeout_ms > 0) {
        curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, exchange.total_timeout_ms);
    }
}

void configure(CURL* easy, const Exchange& exchange, const HeaderList& headers, Sink& sink) {
    curl_easy_setopt(easy, CURLOPT_URL, exchange.address.c_str());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_USERAGENT, exchange.agent.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    set_method(easy, exchange);
    set_route(easy, exchange);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, exchange.read_chunk);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &take_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &take_header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &sink);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &check_abort);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &sink);
    if (exchange.use_cookie_store) {
        use_cookie_store(easy);
    } else {
        use_private_jar(easy);
    }
}

TransferError error_of(CURLcode code) {
    switch (code) {
        case CURLE_OK:
            return TransferError::none;
        case CURLE_OPERATION_TIMEDOUT:
            return TransferError::timeout;
        case CURLE_ABORTED_BY_CALLBACK:
            return TransferError::abandoned;
        default:
            return TransferError::connect;
    }
}

TransferError finish_error(CURLM* multi) {
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi, &left)) {
        if (message->msg == CURLMSG_DONE) {
            return error_of(message->data.result);
        }
    }
    return TransferError::connect;
}

// Alternates reading and waiting on the sockets until the response is in,
// the hooks end it or it is aborted.
TransferError drive(CURLM* multi, const ExchangeHooks& hooks) {
    for (;;) {
        if (hooks.abort != nullptr && hooks.abort->aborted()) {
            return TransferError::abandoned;
        }
        if (hooks.before_read && !hooks.before_read()) {
            return TransferError::abandoned;
        }
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            return TransferError::connect;
        }
        if (running == 0) {
            return finish_error(multi);
        }
        if (curl_multi_poll(multi, nullptr, 0, hooks.poll_ms, nullptr) != CURLM_OK) {
            return TransferError::connect;
        }
    }
}

}  // namespace

ExchangeResult run_exchange(const Exchange& exchange, const ExchangeHooks& hooks) {
    ExchangeResult result;
    result.error = TransferError::connect;
    if (exchange.address.empty()) {
        return result;
    }
    const HeaderList headers(lines_for_curl(exchange));
    Sink sink;
    sink.abort = hooks.abort;
    EasyHandle easy = make_easy();
    MultiHandle multi = make_multi();
    if (!headers.complete() || !easy || !multi) {
        return result;
    }
    configure(easy.get(), exchange, headers, sink);
    if (curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) {
        return result;
    }
    if (hooks.abort != nullptr) {
        hooks.abort->set_waker([m = multi.get()] { curl_multi_wakeup(m); });
    }
    result.error = drive(multi.get(), hooks);
    result.completed = result.error == TransferError::none;
    long status = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &status);
    result.status = static_cast<int>(status);
    long request_bytes = 0;
    curl_easy_getinfo(easy.get(), CURLINFO_REQUEST_SIZE, &request_bytes);
    result.request_sent = request_bytes > 0;
    if (hooks.abort != nullptr) {
        hooks.abort->set_waker(nullptr);
    }
    curl_multi_remove_handle(multi.get(), easy.get());
    if (!exchange.use_cookie_store) {
        copy_received_cookies(easy.get());
    }
    result.body = std::move(sink.body);
    result.header_block = sink.headers.text();
    return result;
}

}  // namespace net
