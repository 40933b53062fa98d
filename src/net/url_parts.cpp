#include "net/url_parts.h"

#include <climits>

#include "text/primitives.h"

namespace net {

std::string url_host(std::string_view url) {
    std::string host = text::replace_substring(url, "https://", "", 1, -1, true);
    host = text::replace_substring(host, "http://", "", 1, -1, true);
    if (const int slash = text::find(host, "/"); slash > 0) {
        host = text::left(host, slash - 1);
    }
    if (const int colon = text::find(host, ":"); colon > 0) {
        host = text::left(host, colon - 1);
    }
    return text::to_lower(host);
}

std::string url_path(std::string_view url) {
    const std::string_view whole = text::as_text(url);
    const int host_at = text::find(whole, url_host(whole), 1, true);
    const int slash = text::find(whole, "/", host_at > 1 ? host_at : 1);
    return slash > 0 ? std::string(whole.substr(slash - 1)) : std::string("/");
}

namespace {

// The "host[:port]" part as the port rule sees it. Without an "http://" in
// front, the authority is whatever precedes the first "/", so for an https
// URL it is "https:" and the port comes out as 0.
std::string authority_of(std::string_view url) {
    if (text::compare(text::left(url, 7), "http://", false) == 0) {
        const int slash = text::find(url, "/", 8);
        return slash > 0 ? text::middle(url, 8, slash - 8) : std::string(url.substr(7));
    }
    const int slash = text::find(url, "/");
    return slash > 0 ? text::left(url, slash - 1) : std::string(url);
}

}  // namespace

int url_port(std::string_view url) {
    const std::string authority = authority_of(text::as_text(url));
    const int colon = text::find(authority, ":");
    const std::string port_text = colon > 0 ? authority.substr(colon) : std::string("80");
    const double value = text::to_number(port_text);
    // Out of int range (or NaN) is no port at all.
    if (!(value > double(INT_MIN) - 1 && value < double(INT_MAX) + 1)) {
        return 0;
    }
    return static_cast<int>(value);
}

}  // namespace net
