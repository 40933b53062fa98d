#include "notify/channel_settings.h"

#include <algorithm>
#include <map>

#include "net/ini_section.h"
#include "notify/smtp_address.h"

namespace notify {

namespace {

constexpr std::string_view kPrefix = "notify.";

using net::lower_ascii;

bool starts_with_nocase(std::string_view text, std::string_view head) {
    return text.size() >= head.size() && lower_ascii(text.substr(0, head.size())) == head;
}

struct Section {
    std::string name;
    int line = 0;
    std::vector<net::IniLine> lines;
};

// The [notify.NAME] sections in file order, each name once: the lines of a
// name given twice (letter case ignored) are read as one section.
std::vector<Section> notify_sections(const net::IniFile& file) {
    std::vector<Section> sections;
    for (const net::IniSection& read : file.sections) {
        if (!starts_with_nocase(read.name, kPrefix))
            continue;
        const std::string name(
            net::trim_blanks(std::string_view(read.name).substr(kPrefix.size())));
        if (name.empty())
            continue;
        const auto known = std::find_if(sections.begin(), sections.end(), [&](const Section& s) {
            return lower_ascii(s.name) == lower_ascii(name);
        });
        if (known == sections.end())
            sections.push_back({name, read.line, read.lines});
        else
            known->lines.insert(known->lines.end(), read.lines.begin(), read.lines.end());
    }
    return sections;
}

struct Value {
    int line = 0;
    std::string text;
};

// Builds one channel out of its section's values, or says why it cannot.
class ChannelReader {
  public:
    ChannelReader(const Section& section, std::vector<std::string>& messages)
        : section_(section), messages_(messages) {}

    // Messages come out in line order, whichever check found them.
    std::optional<Channel> read(const std::vector<net::IniLine>& lines) {
        auto channel = read_lines(lines);
        std::stable_sort(found_.begin(), found_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [line, message] : found_)
            messages_.push_back(std::move(message));
        return channel;
    }

  private:
    std::optional<Channel> read_lines(const std::vector<net::IniLine>& lines) {
        for (const auto& line : lines)
            collect(line);
        const auto kind = read_kind();
        if (!kind)
            return std::nullopt;
        Channel channel;
        channel.name = section_.name;
        channel.kind = *kind;
        warn_unused(*kind);
        const bool complete = is_webhook(*kind) ? read_webhook(channel) : read_email(channel);
        if (!complete)
            return std::nullopt;
        return channel;
    }

    std::string where(int line) const {
        return (line > 0 ? "line " + std::to_string(line) + ": " : std::string()) + "[notify." +
               section_.name + "] ";
    }
    void say(int line, const std::string& message) {
        found_.emplace_back(line, where(line) + message);
    }
    void left_out(int line, const std::string& why) { say(line, why + "; channel left out"); }
    const Value* value(const std::string& key) const {
        const auto found = values_.find(key);
        return found == values_.end() ? nullptr : &found->second;
    }
    std::string text(const std::string& key) const {
        const Value* v = value(key);
        return v == nullptr ? std::string() : v->text;
    }

    void collect(const net::IniLine& line) {
        static const std::vector<std::string> keys = {"kind", "url",      "secret", "smtp",
                                                      "user", "password", "from",   "to"};
        if (!line.has_equals) {
            say(line.line, "no '=' in line; ignored");
        } else if (std::find(keys.begin(), keys.end(), line.key) == keys.end()) {
            say(line.line, "unknown key '" + line.key + "' ignored");
        } else {
            // A later line of the same key wins, as it would in a hand-edited file.
            values_[line.key] = {line.line, line.value};
        }
    }

    std::optional<ChannelKind> read_kind() {
        const Value* kind = value("kind");
        if (kind == nullptr) {
            left_out(section_.line, "has no kind");
            return std::nullopt;
        }
        const auto parsed = kind_from_word(lower_ascii(kind->text));
        if (!parsed) {
            left_out(kind->line, "kind = " + kind->text +
                                     " is not one of wecom, wecom-markdown, dingtalk, feishu, "
                                     "json, email");
        }
        return parsed;
    }

    void warn_unused(ChannelKind kind) {
        std::vector<std::string> unused;
        if (is_webhook(kind))
            unused = {"smtp", "user", "password", "from", "to"};
        else
            unused = {"url", "secret"};
        if (kind == ChannelKind::wecom || kind == ChannelKind::wecom_markdown ||
            kind == ChannelKind::json)
            unused.push_back("secret");
        for (const auto& key : unused) {
            if (const Value* v = value(key)) {
                say(v->line,
                    key + " does not apply to kind " + std::string(kind_word(kind)) + "; ignored");
            }
        }
    }

    bool read_webhook(Channel& channel) {
        const Value* url = value("url");
        if (url == nullptr || url->text.empty()) {
            left_out(section_.line, "has no url");
            return false;
        }
        const bool http =
            starts_with_nocase(url->text, "https://") || starts_with_nocase(url->text, "http://");
        if (!http || url->text.find_first_of(" \t") != std::string::npos) {
            left_out(url->line, "url is not an http(s) address");
            return false;
        }
        channel.url = url->text;
        if (channel.kind == ChannelKind::dingtalk || channel.kind == ChannelKind::feishu)
            channel.secret = text("secret");
        return true;
    }

    bool read_email(Channel& channel) {
        return read_smtp(channel) && read_addresses(channel) && read_login(channel);
    }

    bool read_smtp(Channel& channel) {
        const Value* smtp = value("smtp");
        if (smtp == nullptr || smtp->text.empty()) {
            left_out(section_.line, "has no smtp server");
            return false;
        }
        std::string problem;
        const auto address = parse_smtp_address(smtp->text, &problem);
        if (!address) {
            left_out(smtp->line, problem);
            return false;
        }
        channel.smtp = address->url;
        return true;
    }

    bool read_addresses(Channel& channel) {
        channel.from = text("from");
        if (channel.from.find('@') == std::string::npos) {
            left_out(value("from") ? value("from")->line : section_.line,
                     "from is not an e-mail address");
            return false;
        }
        const std::string to = text("to");
        std::string_view list = to;
        while (!list.empty()) {
            const auto comma = std::min(list.find_first_of(",;"), list.size());
            const std::string_view one = net::trim_blanks(list.substr(0, comma));
            if (!one.empty())
                channel.to.emplace_back(one);
            list.remove_prefix(std::min(comma + 1, list.size()));
        }
        const bool addresses = std::all_of(channel.to.begin(), channel.to.end(), [](const auto& a) {
            return a.find('@') != std::string::npos;
        });
        if (channel.to.empty() || !addresses) {
            left_out(value("to") ? value("to")->line : section_.line,
                     "to is not a list of e-mail addresses");
            return false;
        }
        return true;
    }

    bool read_login(Channel& channel) {
        channel.user = text("user");
        channel.password = text("password");
        if (channel.user.empty() != channel.password.empty()) {
            left_out(section_.line, "needs both user and password, or neither");
            return false;
        }
        return true;
    }

    const Section& section_;
    std::vector<std::string>& messages_;
    std::map<std::string, Value> values_;
    std::vector<std::pair<int, std::string>> found_;
};

}  // namespace

ParsedChannels parse_channels(std::string_view ini_text) {
    ParsedChannels parsed;
    for (const Section& section : notify_sections(net::read_ini(ini_text))) {
        if (auto channel = ChannelReader(section, parsed.messages).read(section.lines))
            parsed.channels.push_back(*std::move(channel));
    }
    return parsed;
}

const Channel* find_channel(const std::vector<Channel>& channels, std::string_view name) {
    const auto found = std::find_if(channels.begin(), channels.end(), [&](const Channel& c) {
        return lower_ascii(c.name) == lower_ascii(name);
    });
    return found == channels.end() ? nullptr : &*found;
}

}  // namespace notify
