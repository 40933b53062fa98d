#include "notify/smtp_address.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <memory>
#include <vector>

#include "net/ini_section.h"

namespace notify {

namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

// One part of the parsed address; empty when it has none.
std::string part(CURLU* url, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || text == nullptr)
        return {};
    std::string out(text);
    curl_free(text);
    return out;
}

// "a.b.c.d" with four decimal parts of 0..255, or nothing.
std::optional<std::array<std::uint8_t, 4>> ipv4(std::string_view text) {
    std::array<std::uint8_t, 4> bytes{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto dot = i < 3 ? text.find('.') : text.size();
        if (dot == std::string_view::npos || dot == 0 || dot > 3)
            return std::nullopt;
        unsigned value = 256;
        const auto [end, error] = std::from_chars(text.data(), text.data() + dot, value);
        if (error != std::errc() || end != text.data() + dot || value > 255)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(value);
        text.remove_prefix(std::min(dot + 1, text.size()));
    }
    return bytes;
}

// The 16-bit groups of one side of "::".
std::optional<std::vector<std::uint16_t>> ipv6_groups(std::string_view text) {
    std::vector<std::uint16_t> groups;
    while (!text.empty()) {
        const auto colon = std::min(text.find(':'), text.size());
        const std::string_view group = text.substr(0, colon);
        if (colon == text.size() && group.find('.') != std::string_view::npos) {
            const auto v4 = ipv4(group);
            if (!v4)
                return std::nullopt;
            groups.push_back(static_cast<std::uint16_t>((*v4)[0] << 8 | (*v4)[1]));
            groups.push_back(static_cast<std::uint16_t>((*v4)[2] << 8 | (*v4)[3]));
            return groups;
        }
        unsigned value = 0;
        const auto [end, error] =
            std::from_chars(group.data(), group.data() + group.size(), value, 16);
        if (group.empty() || group.size() > 4 || error != std::errc() ||
            end != group.data() + group.size())
            return std::nullopt;
        groups.push_back(static_cast<std::uint16_t>(value));
        if (colon + 1 == text.size())
            return std::nullopt;  // a single ':' at the end
        text.remove_prefix(std::min(colon + 1, text.size()));
    }
    return groups;
}

// An IPv6 address (no brackets, no zone) as eight groups, or nothing.
std::optional<std::array<std::uint16_t, 8>> ipv6(std::string_view text) {
    const auto gap = text.find("::");
    const auto head = ipv6_groups(text.substr(0, gap));
    const auto tail = gap == std::string_view::npos
                          ? std::optional<std::vector<std::uint16_t>>(std::vector<std::uint16_t>{})
                          : ipv6_groups(text.substr(gap + 2));
    if (!head || !tail || head->size() + tail->size() > 8 ||
        (gap == std::string_view::npos && head->size() != 8))
        return std::nullopt;
    std::array<std::uint16_t, 8> groups{};
    std::copy(head->begin(), head->end(), groups.begin());
    std::copy(tail->begin(), tail->end(), groups.end() - static_cast<std::ptrdiff_t>(tail->size()));
    return groups;
}

bool loopback_ipv6(std::string_view text) {
    const auto groups = ipv6(text);
    if (!groups)
        return false;
    const bool zero_head =
        std::all_of(groups->begin(), groups->begin() + 5, [](std::uint16_t g) { return g == 0; });
    if (zero_head && (*groups)[5] == 0 && (*groups)[6] == 0 && (*groups)[7] == 1)
        return true;  // ::1
    // ::ffff:127.x.y.z, an IPv4 loopback address in IPv6 clothes.
    return zero_head && (*groups)[5] == 0xFFFF && ((*groups)[6] >> 8) == 127;
}

}  // namespace

bool is_loopback_host(std::string_view host) {
    if (net::lower_ascii(host) == "localhost")
        return true;
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        std::string_view inside = host.substr(1, host.size() - 2);
        inside = inside.substr(0, inside.find('%'));  // a zone names the interface, not the host
        return loopback_ipv6(inside);
    }
    const auto v4 = ipv4(host);
    return v4 && (*v4)[0] == 127;
}

std::optional<SmtpAddress> parse_smtp_address(std::string_view text, std::string* problem) {
    const auto fail = [&](const char* why) -> std::optional<SmtpAddress> {
        if (problem != nullptr)
            *problem = why;
        return std::nullopt;
    };
    std::string given(net::trim_blanks(text));
    if (given.find("://") == std::string::npos)
        given = "smtp://" + given;
    UrlHandle url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_URL, given.c_str(), 0) != CURLUE_OK)
        return fail("smtp is not smtp://host[:port] or smtps://host[:port]");
    const std::string scheme = net::lower_ascii(part(url.get(), CURLUPART_SCHEME));
    if (scheme != "smtp" && scheme != "smtps")
        return fail("smtp is not smtp://host[:port] or smtps://host[:port]");
    if (!part(url.get(), CURLUPART_USER).empty() || !part(url.get(), CURLUPART_PASSWORD).empty() ||
        !part(url.get(), CURLUPART_OPTIONS).empty())
        return fail("smtp holds a login; put it in user and password");
    SmtpAddress address;
    address.tls_at_once = scheme == "smtps";
    address.host = part(url.get(), CURLUPART_HOST);
    if (address.host.empty())
        return fail("smtp names no host");
    address.loopback = is_loopback_host(address.host);
    // What libcurl gets is what was judged: the scheme in lower case, no
    // query or fragment (the path names the EHLO domain, so it stays).
    curl_url_set(url.get(), CURLUPART_SCHEME, scheme.c_str(), 0);
    curl_url_set(url.get(), CURLUPART_QUERY, nullptr, 0);
    curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0);
    address.url = part(url.get(), CURLUPART_URL);
    if (address.url.empty())
        return fail("smtp is not smtp://host[:port] or smtps://host[:port]");
    return address;
}

bool requires_starttls(const SmtpAddress& address) {
    return !address.tls_at_once && !address.loopback;
}

}  // namespace notify
