#pragma once
// 网页_访问: the second HTTP client, used for goods pages. It runs on the
// calling thread (window events dispatched before each read), with a fixed
// short user agent and no timeout of its own.
#include <optional>
#include <string>

namespace net {

struct GoodsFetchOptions {
    std::optional<int> method;  // 访问方式: 0 GET, 1 POST, else an error box
    std::optional<std::string> proxy;
    std::string* headers = nullptr;  // in/out: default lines are appended to it
    std::optional<std::string> post_data;
    std::optional<std::string> cookie;
    std::optional<int> conversion;
    std::string* response_headers = nullptr;  // out
};

std::string 网页_访问(std::string& url, const GoodsFetchOptions& options = {});

// The goods page as text (bytes up to the first NUL), unconverted.
std::string fetch_page_text(std::string url);

}  // namespace net
