#pragma once
// The notice channels of korvel.ini as the 通知通道 dialog edits them,
// without Qt: each [notify.NAME] section with its values as written (also a
// section the programs would leave out, so the seller can mend it), the
// fields and Chinese explanations of each kind, the problems of a typed
// channel in Chinese, and the file text with one channel added, changed or
// removed. Whether a channel can be used is decided by notify's own reader.
// Texts are UTF-8.
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "notify/channel.h"

namespace app {

struct ChannelField {
    std::string_view key;          // in korvel.ini
    std::string_view label;        // what the dialog calls it
    std::string_view placeholder;  // an example, or when to fill it in
    bool secret = false;           // masked on screen unless the seller asks to see it
    bool required = true;
};

std::span<const notify::ChannelKind> channel_kinds();
// "企业微信群机器人（文本）", "钉钉群机器人", "电子邮件（SMTP）", …
std::string_view kind_label(notify::ChannelKind kind);
// Where the robot's address and its signing secret come from (which menu of
// the group chat), or what a mail server needs.
std::string_view kind_guide(notify::ChannelKind kind);
// The fields of the kind, in the order the dialog shows them.
std::vector<ChannelField> channel_fields(notify::ChannelKind kind);

struct ChannelDraft {
    std::string name;
    std::string kind;                           // as written ("wecom", …); may be no kind at all
    std::map<std::string, std::string> values;  // key -> value as the reader takes it
    bool operator==(const ChannelDraft&) const = default;
};

// Every [notify.NAME] section of the text, in file order.
std::vector<ChannelDraft> channel_drafts(std::string_view ini_text);

// Everything that keeps the programs from using the draft, one Chinese line
// each naming the field; empty when it can be used. `others` are the names of
// the file's other channels.
std::vector<std::string> draft_problems(const ChannelDraft& draft,
                                        const std::vector<std::string>& others);

// The channel the programs read from the draft (to send a test message
// before it is saved); nullopt when they would leave it out.
std::optional<notify::Channel> channel_of(const ChannelDraft& draft);

// Where the channel's messages go, without a secret: the robot's host, the
// mail's recipients.
std::string channel_destination(const ChannelDraft& draft);

// The text with the channel saved. A new one (`before` empty) becomes a new
// section at the end; a changed one keeps its section, comments included,
// and changes only the lines whose values changed (a field emptied or no
// longer of its kind loses its line); a renamed one is written anew under
// its new name.
std::string with_channel(std::string_view ini_text, const std::optional<ChannelDraft>& before,
                         const ChannelDraft& after);

// The text without the channel's section.
std::string without_channel(std::string_view ini_text, std::string_view name);

}  // namespace app
