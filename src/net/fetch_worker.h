#pragma once
// fetch_worker: the exchange of one fetch_page call, run on its worker thread
// (or directly, by tests). It sees only the request and the abort signal.
#include <string>

#include "net/abort_signal.h"
#include "net/exchange.h"

namespace net {

struct FetchRequest {
    std::string url;  // normalised: starts with "http://" or "https://"
    bool post = false;
    std::string proxy;
    std::string headers;  // the caller's extra lines; the worker completes its own copy
    std::string post_data;
    std::string cookie;
    bool allow_redirect = true;
};

struct FetchResponse {
    std::string body;
    std::string cookies;       // "name=value;" per Set-Cookie line
    std::string header_block;  // raw, CR LF lines; empty when it exceeds the header buffer
    int status = 0;            // HTTP status of the final response; 0 when none arrived
    TransferError error = TransferError::none;
};

FetchResponse fetch_worker(const FetchRequest& request, AbortSignal* abort = nullptr);

}  // namespace net
