#pragma once
// The notice channels of korvel.ini, one section each:
//
//   [notify.NAME]
//   kind = wecom | wecom-markdown | dingtalk | feishu | json | email
//   url = https://...        ; webhook address (every kind but email)
//   secret = ...             ; signing secret (dingtalk, feishu; optional)
//   smtp = smtps://host:465  ; or smtp://host:587, which must offer STARTTLS
//   user = ...               ; SMTP login (optional, with password)
//   password = ...
//   from = Korvel <korvel@example.com>
//   to = a@example.com, b@example.com
//
// A channel with a missing or unreadable setting is left out with a message
// that names the channel and the key, never the value of a secret.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "notify/channel.h"

namespace notify {

struct ParsedChannels {
    std::vector<Channel> channels;  // in file order
    // One per problem ("line 12: [notify.team] url is not an http(s) address; channel left
    // out"), for the caller to print on stderr.
    std::vector<std::string> messages;
};

ParsedChannels parse_channels(std::string_view ini_text);

const Channel* find_channel(const std::vector<Channel>& channels, std::string_view name);

// The warning to print once when the settings file defines channels (and so
// holds their secrets) and other users of the machine can read it; nothing
// when they cannot, or where the file system has no such permissions. The
// caller asks only when parse_channels found a channel.
std::optional<std::string> shared_settings_warning(const std::filesystem::path& file);

}  // namespace notify
