#pragma once
// A notice channel as korvel.ini defines it. The url, secret and password are
// secrets: no message, log line or error text ever shows them; a channel is
// named by its name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace notify {

enum class ChannelKind {
    wecom,           // group robot, msgtype text
    wecom_markdown,  // the same robot, msgtype markdown
    dingtalk,        // custom robot, msgtype text, optional signing secret
    feishu,          // custom bot, msg_type text, optional signing secret
    json,            // our own JSON shape, for the user's own receiver
    email,           // SMTP
};

struct Channel {
    std::string name{};  // from the section header [notify.NAME]
    ChannelKind kind = ChannelKind::json;
    std::string url{};     // webhook address (robots and json)
    std::string secret{};  // signing secret (dingtalk, feishu); empty: unsigned
    std::string smtp{};    // smtp://host:port (STARTTLS) or smtps://host:port
    std::string user{};
    std::string password{};
    std::string from{};
    std::vector<std::string> to{};
};

// The kind words of korvel.ini: "wecom", "wecom-markdown", "dingtalk",
// "feishu", "json", "email".
std::string_view kind_word(ChannelKind kind);
std::optional<ChannelKind> kind_from_word(std::string_view word);

bool is_webhook(ChannelKind kind);

// `text` with every secret of the channel (url and its query, secret,
// password) replaced by "***", for any text that came from a server or
// a library and might echo one.
std::string redacted(std::string text, const Channel& channel);

}  // namespace notify
