#include "notify/channel.h"

#include <algorithm>
#include <array>
#include <utility>

namespace notify {

namespace {

constexpr std::array<std::pair<ChannelKind, std::string_view>, 6> kWords = {{
    {ChannelKind::wecom, "wecom"},
    {ChannelKind::wecom_markdown, "wecom-markdown"},
    {ChannelKind::dingtalk, "dingtalk"},
    {ChannelKind::feishu, "feishu"},
    {ChannelKind::json, "json"},
    {ChannelKind::email, "email"},
}};

void replace_all(std::string& text, std::string_view secret) {
    // Short pieces would blot out ordinary words; no real token is that short.
    if (secret.size() < 4)
        return;
    for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3))
        text.replace(at, secret.size(), "***");
}

// The parts of a webhook address that carry its token: the path (some
// robots put the token there) and every query value.
std::vector<std::string_view> url_secrets(std::string_view url) {
    std::vector<std::string_view> parts{url};
    const auto scheme_end = url.find("://");
    const auto path_start = url.find('/', scheme_end == url.npos ? 0 : scheme_end + 3);
    if (path_start == url.npos)
        return parts;
    std::string_view rest = url.substr(path_start);
    const auto question = rest.find('?');
    parts.push_back(rest.substr(0, question));
    if (question == rest.npos)
        return parts;
    std::string_view query = rest.substr(question + 1);
    parts.push_back(query);
    while (!query.empty()) {
        const auto amp = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, amp);
        if (const auto eq = pair.find('='); eq != pair.npos)
            parts.push_back(pair.substr(eq + 1));
        query.remove_prefix(std::min(amp + 1, query.size()));
    }
    return parts;
}

}  // namespace

std::string_view kind_word(ChannelKind kind) {
    for (const auto& [k, word] : kWords) {
        if (k == kind)
            return word;
    }
    return "json";
}

std::optional<ChannelKind> kind_from_word(std::string_view word) {
    for (const auto& [kind, w] : kWords) {
        if (w == word)
            return kind;
    }
    return std::nullopt;
}

bool is_webhook(ChannelKind kind) {
    return kind != ChannelKind::email;
}

std::string redacted(std::string text, const Channel& channel) {
    // Longest first, so a whole address goes before the pieces inside it.
    std::vector<std::string_view> secrets = url_secrets(channel.url);
    secrets.push_back(channel.secret);
    secrets.push_back(channel.password);
    std::sort(secrets.begin(), secrets.end(),
              [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
    for (const auto secret : secrets)
        replace_all(text, secret);
    return text;
}

}  // namespace notify
