#pragma once
// From the URL a caller gives to the address libcurl is told to fetch.
#include <string>
#include <string_view>

namespace net {

// The URL with "http://" in front unless it starts with "http://" or
// "https://" (both exact in letter case).
std::string with_scheme(std::string_view url);

// An exchange is TLS when its URL starts with "https://".
bool is_https(std::string_view url);

// The address libcurl fetches: the scheme, the host from url_host, port 443
// for TLS and url_port otherwise (0 meaning the default 80), and the path from
// url_path. Empty when the host is not a plain host name or address, or the
// port is out of range, so no request goes anywhere unexpected.
std::string transfer_address(std::string_view url);

}  // namespace net
