#include "history/pg_address.h"

#include <vector>

namespace history::pg {
namespace {

std::vector<std::string_view> entries(std::string_view list) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t comma = list.find(',');
        parts.push_back(list.substr(0, comma));
        if (comma == std::string_view::npos) {
            return parts;
        }
        list.remove_prefix(comma + 1);
    }
}

bool is_ipv4_loopback(std::string_view host) {
    if (!host.starts_with("127.")) {
        return false;
    }
    int dots = 0;
    for (const char c : host) {
        if (c == '.') {
            ++dots;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return dots == 3;
}

}  // namespace

bool is_local_host(std::string_view host) {
    if (host.starts_with('[') && host.ends_with(']')) {
        host = host.substr(1, host.size() - 2);
    }
    return host.empty() || host.starts_with('/') || host.starts_with('@') || host == "localhost" ||
           host == "::1" || is_ipv4_loopback(host);
}

bool needs_tls(std::string_view hosts, std::string_view hostaddrs) {
    const auto names = entries(hosts);
    const auto addresses = entries(hostaddrs);
    const std::size_t count = std::max(names.size(), addresses.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view address = i < addresses.size() ? addresses[i] : "";
        const std::string_view name = i < names.size() ? names[i] : "";
        if (!is_local_host(address.empty() ? name : address)) {
            return true;
        }
    }
    return false;
}

}  // namespace history::pg
