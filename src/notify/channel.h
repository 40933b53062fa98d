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

// Every form in which a secret of the channel may come back in a server's
// answer, longest first: the webhook address, its path, query, long path
// segments and query values, the signing secret and the password (with what
// a login carries), each as it is, percent-decoded, percent-encoded (either
// letter case) and JSON-escaped ("\/", \uXXXX).
std::vector<std::string> secret_forms(const Channel& channel);

// `text` with every secret form of the channel replaced by "***", for any
// text that came from a server or a library and might echo one. Mask before
// cutting a text short: a secret cut in two no longer matches.
std::string redacted(std::string text, const Channel& channel);

}  // namespace notify
