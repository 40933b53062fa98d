#pragma once
// fetch_page: the HTTP client for every remote page but the goods page. The
// exchange runs on a worker thread; the caller waits through event_pump() for
// at most the timeout and gets the body bytes (empty on failure, or the
// timeout message).
#include <optional>
#include <string>

#include "net/fetch_worker.h"

namespace net {

struct FetchOptions {
    std::optional<int> method;                // 1 = POST, anything else GET
    std::optional<std::string> proxy;         // host:port
    std::optional<std::string> headers;       // extra lines, each ending in CR LF
    std::optional<std::string> post_data;     // bytes
    std::optional<std::string> cookie;        // value of a "Cookie: " line
    std::optional<int> timeout_seconds;       // 超时返回; default 60 s
    std::string* response_headers = nullptr;  // out: raw header block
    std::optional<int> conversion;            // 1 UTF-8->GBK, 2 Big5->simplified GBK
    std::string* response_cookies = nullptr;  // out: "name=value;" per Set-Cookie
    std::optional<bool> allow_redirect;       // default true
};

// `url` is in/out: a missing "http://" prefix is written back.
std::string fetch_page(std::string& url, const FetchOptions& options = {});

// Why a page did not arrive as an answer the program can read.
enum class PageFailure {
    none,
    connect,      // no connection, refused, or broken off
    timeout,      // the wait ran out
    http_status,  // the server answered with a status other than 2xx
    closing,      // the program is ending; nobody reads this page any more
};

// A page together with how its fetch went. The body is what arrived,
// converted as the options say (never the timeout message).
struct PageResult {
    std::string body;
    int status = 0;  // HTTP status; 0 when no answer arrived
    PageFailure failure = PageFailure::none;
    int retry_after_s = -1;  // the server's Retry-After in seconds; -1 when absent
};

PageResult fetch_page_result(std::string& url, const FetchOptions& options = {});

// What a finished exchange (on any thread) amounts to.
PageResult page_result_of(FetchResponse&& response);

// The GBK timeout message returned as the body when the wait runs out.
const std::string& timeout_message();

}  // namespace net
