#include "notify/channel.h"

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

}  // namespace notify
