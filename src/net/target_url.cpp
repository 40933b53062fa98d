#include "net/target_url.h"

#include "net/url_parts.h"

namespace net {

std::string with_scheme(std::string_view url) {
    if (url.starts_with("http://") || url.starts_with("https://")) {
        return std::string(url);
    }
    return "http://" + std::string(url);
}

bool is_https(std::string_view url) {
    return url.starts_with("https://");
}

namespace {

// Letters, digits, dots, dashes and underscores: a name or an IPv4 address.
// Anything else ("@", "?", spaces, GBK bytes) would be read by libcurl as
// another part of the URL.
bool plain_host(std::string_view host) {
    if (host.empty()) {
        return false;
    }
    for (const char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!ok) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string transfer_address(std::string_view url) {
    const std::string host = url_host(url);
    if (!plain_host(host)) {
        return {};
    }
    if (is_https(url)) {
        return "https://" + host + url_path(url);
    }
    const int port = url_port(url);
    if (port < 0 || port > 65535) {
        return {};
    }
    const std::string port_part = (port == 0 || port == 80) ? "" : ":" + std::to_string(port);
    return "http://" + host + port_part + url_path(url);
}

}  // namespace net
