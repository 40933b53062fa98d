#pragma once
// fetch_page: the HTTP client for every remote page but the goods page. The
// exchange runs on a worker thread; the caller waits through event_pump() for
// at most the timeout and gets the body bytes (empty on failure, or the
// timeout message).
#include <optional>
#include <string>

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

// The GBK timeout message returned as the body when the wait runs out.
const std::string& timeout_message();

}  // namespace net
