#include "app/channel_drafts.h"

#include <algorithm>
#include <array>

#include "net/ini_edit.h"
#include "net/ini_section.h"
#include "net/ini_section_edit.h"
#include "notify/channel_settings.h"

namespace app {

namespace {

using notify::ChannelKind;

constexpr std::string_view kPrefix = "notify.";

constexpr std::array<ChannelKind, 6> kKinds = {ChannelKind::wecom,    ChannelKind::wecom_markdown,
                                               ChannelKind::dingtalk, ChannelKind::feishu,
                                               ChannelKind::json,     ChannelKind::email};

// Every key a channel section may hold, whatever its kind.
constexpr std::array<std::string_view, 7> kValueKeys = {"url",      "secret", "smtp", "user",
                                                        "password", "from",   "to"};

constexpr std::string_view kWeComGuide =
    "在企业微信的群聊里：右上角“…” → 群机器人 → 添加机器人 → 新创建一个机器人，"
    "创建后复制它的 Webhook 地址（https://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=…）"
    "填到“机器人地址”。企业微信群机器人没有加签密钥。";

constexpr std::string_view kDingTalkGuide =
    "在钉钉的群聊里：右上角“群设置” → 机器人 → 添加机器人 → 自定义（通过 Webhook 接入）。"
    "安全设置选“加签”时，复制那里显示的以 SEC 开头的密钥填到“加签密钥”；"
    "选“自定义关键词”时填 Korvel（每条消息都以【Korvel】开头），加签密钥留空。"
    "完成后复制 Webhook 地址（https://oapi.dingtalk.com/robot/send?access_token=…）"
    "填到“机器人地址”。";

constexpr std::string_view kFeishuGuide =
    "在飞书的群聊里：右上角“…” → 设置 → 群机器人 → 添加机器人 → 自定义机器人。"
    "复制 Webhook 地址（https://open.feishu.cn/open-apis/bot/v2/hook/…）填到“机器人地址”。"
    "安全设置勾选“签名校验”时，复制那里的密钥填到“签名校验密钥”；"
    "只设“自定义关键词”时填 Korvel，签名校验密钥留空。";

constexpr std::string_view kJsonGuide =
    "你自己的接收程序的地址：每轮检查的变动以一个 JSON 的 HTTP POST 发来"
    "（格式见说明文档的“通知”一节），回答任何 2xx 即算送达。";

constexpr std::string_view kEmailGuide =
    "SMTP 服务器见邮箱服务商的帮助页（“客户端设置”或“SMTP 服务”）："
    "smtps://主机:465 从一开始就加密，smtp://主机:587 须支持 STARTTLS，否则不发送。"
    "多数邮箱要先在网页版设置里开启 SMTP，并生成“授权码”或“应用专用密码”，"
    "把它填到“密码”，而不是登录密码。";

std::string lower_ascii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return out;
}

std::string_view unquoted(std::string_view s) {
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
        return s.substr(1, s.size() - 2);
    return s;
}

std::string section_of(std::string_view name) {
    return std::string(kPrefix) + std::string(name);
}

std::string value_of(const ChannelDraft& draft, std::string_view key) {
    const auto found = draft.values.find(std::string(key));
    return found == draft.values.end() ? std::string() : found->second;
}

bool has_control_character(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](unsigned char c) { return c < 0x20 || c == 0x7F; });
}

// A blank followed by ';' or '#' starts a comment for the reader.
bool has_comment_mark(std::string_view text) {
    for (std::size_t i = 1; i < text.size(); ++i) {
        if ((text[i] == ';' || text[i] == '#') && (text[i - 1] == ' ' || text[i - 1] == '\t'))
            return true;
    }
    return false;
}

bool is_web_address(std::string_view text) {
    const std::string lower = lower_ascii(text.substr(0, 8));
    return (lower.starts_with("https://") || lower.starts_with("http://")) &&
           text.find_first_of(" \t") == std::string_view::npos;
}

std::vector<std::string> addresses(std::string_view list) {
    std::vector<std::string> out;
    while (!list.empty()) {
        const auto comma = std::min(list.find_first_of(",;"), list.size());
        const std::string_view one = net::trim_blanks(list.substr(0, comma));
        if (!one.empty())
            out.emplace_back(one);
        list.remove_prefix(std::min(comma + 1, list.size()));
    }
    return out;
}

// The draft's lines as the section holds them: kind first, then the kind's
// fields that have a value.
std::vector<std::string> section_lines(const ChannelDraft& draft) {
    std::vector<std::string> lines{"kind=" + draft.kind};
    if (const auto kind = notify::kind_from_word(draft.kind)) {
        for (const ChannelField& field : channel_fields(*kind)) {
            if (const std::string value = value_of(draft, field.key); !value.empty())
                lines.push_back(std::string(field.key) + "=" + net::ini_written_value(value));
        }
    }
    return lines;
}

std::string section_text(const ChannelDraft& draft) {
    return net::with_ini_section({}, section_of(draft.name), section_lines(draft));
}

// "line 3: [notify.x] url is not an http(s) address; channel left out" ->
// "url is not an http(s) address".
std::string reader_reason(std::string message) {
    if (const auto close = message.find("] "); close != std::string::npos)
        message.erase(0, close + 2);
    if (const auto tail = message.rfind("; channel left out"); tail != std::string::npos)
        message.erase(tail);
    return message;
}

void check_fields(const ChannelDraft& draft, ChannelKind kind, std::vector<std::string>& out) {
    for (const ChannelField& field : channel_fields(kind)) {
        const std::string value = value_of(draft, field.key);
        const std::string label(field.label);
        if (value.empty() && field.required)
            out.push_back(label + "：不能为空");
        else if (has_control_character(value))
            out.push_back(label + "：不能含换行或控制字符");
        else if (has_comment_mark(value))
            out.push_back(label + "：不能含“空格+;”或“空格+#”（其后会被当作注释）");
        else if (field.key == "url" && !is_web_address(value))
            out.push_back(label + "：须是以 https:// 或 http:// 开头、不含空格的地址");
    }
    if (kind != ChannelKind::email)
        return;
    if (!value_of(draft, "from").empty() && value_of(draft, "from").find('@') == std::string::npos)
        out.push_back("发件人：不是邮件地址");
    const auto to = addresses(value_of(draft, "to"));
    if (!to.empty() && std::any_of(to.begin(), to.end(), [](const std::string& a) {
            return a.find('@') == std::string::npos;
        }))
        out.push_back("收件人：须是邮件地址，多个用逗号分开");
    if (value_of(draft, "user").empty() != value_of(draft, "password").empty())
        out.push_back("用户名和密码：须同时填写，或同时留空");
}

}  // namespace

std::span<const ChannelKind> channel_kinds() {
    return kKinds;
}

std::string_view kind_label(ChannelKind kind) {
    switch (kind) {
        case ChannelKind::wecom:
            return "企业微信群机器人（文本）";
        case ChannelKind::wecom_markdown:
            return "企业微信群机器人（Markdown）";
        case ChannelKind::dingtalk:
            return "钉钉群机器人";
        case ChannelKind::feishu:
            return "飞书群机器人";
        case ChannelKind::json:
            return "自己的接收程序（JSON）";
        case ChannelKind::email:
            break;
    }
    return "电子邮件（SMTP）";
}

std::string_view kind_guide(ChannelKind kind) {
    switch (kind) {
        case ChannelKind::wecom:
        case ChannelKind::wecom_markdown:
            return kWeComGuide;
        case ChannelKind::dingtalk:
            return kDingTalkGuide;
        case ChannelKind::feishu:
            return kFeishuGuide;
        case ChannelKind::json:
            return kJsonGuide;
        case ChannelKind::email:
            break;
    }
    return kEmailGuide;
}

std::vector<ChannelField> channel_fields(ChannelKind kind) {
    switch (kind) {
        case ChannelKind::wecom:
        case ChannelKind::wecom_markdown:
            return {{"url", "机器人地址", "https://qyapi.weixin.qq.com/cgi-bin/webhook/send?key=…",
                     true}};
        case ChannelKind::dingtalk:
            return {
                {"url", "机器人地址", "https://oapi.dingtalk.com/robot/send?access_token=…", true},
                {"secret", "加签密钥", "SEC…（安全设置选“加签”时填写）", true, false}};
        case ChannelKind::feishu:
            return {{"url", "机器人地址", "https://open.feishu.cn/open-apis/bot/v2/hook/…", true},
                    {"secret", "签名校验密钥", "安全设置勾选“签名校验”时填写", true, false}};
        case ChannelKind::json:
            return {{"url", "接收地址", "https://example.com/korvel-hook", true}};
        case ChannelKind::email:
            break;
    }
    return {{"smtp", "SMTP 服务器", "smtps://smtp.example.com:465"},
            {"user", "用户名", "通常是邮箱地址；服务器不要求登录时留空", false, false},
            {"password", "密码", "授权码或应用专用密码", true, false},
            {"from", "发件人", "Korvel <korvel@example.com>"},
            {"to", "收件人", "a@example.com, b@example.com"}};
}

std::vector<ChannelDraft> channel_drafts(std::string_view ini_text) {
    std::vector<ChannelDraft> drafts;
    for (const std::string& name : net::ini_section_names(ini_text, kPrefix)) {
        ChannelDraft draft{name, {}, {}};
        for (const net::IniLine& line : net::ini_section(ini_text, section_of(name))) {
            if (!line.has_equals)
                continue;
            // A later line of a key wins, as it does for the reader.
            const std::string value(unquoted(line.value));
            if (line.key == "kind")
                draft.kind = lower_ascii(value);
            else
                draft.values[line.key] = value;
        }
        drafts.push_back(std::move(draft));
    }
    return drafts;
}

std::vector<std::string> draft_problems(const ChannelDraft& draft,
                                        const std::vector<std::string>& others) {
    std::vector<std::string> out;
    if (draft.name.empty())
        out.push_back("名称：不能为空");
    else if (has_control_character(draft.name) || draft.name.find(']') != std::string::npos)
        out.push_back("名称：不能含 ] 或控制字符");
    else if (std::any_of(others.begin(), others.end(), [&](const std::string& other) {
                 return lower_ascii(other) == lower_ascii(draft.name);
             }))
        out.push_back("名称：已有同名的通知通道");
    const auto kind = notify::kind_from_word(draft.kind);
    if (!kind) {
        out.push_back("类型：须选一种");
        return out;
    }
    check_fields(draft, *kind, out);
    if (out.empty() && !channel_of(draft)) {
        // What the reader refuses beyond the checks above, in its own words.
        for (const std::string& message : notify::parse_channels(section_text(draft)).messages)
            out.push_back("程序不接受这个通道：" + reader_reason(message));
    }
    return out;
}

std::optional<notify::Channel> channel_of(const ChannelDraft& draft) {
    if (draft.name.empty())
        return std::nullopt;
    notify::ParsedChannels parsed = notify::parse_channels(section_text(draft));
    if (parsed.channels.size() != 1)
        return std::nullopt;
    return std::move(parsed.channels.front());
}

std::string channel_destination(const ChannelDraft& draft) {
    if (draft.kind == notify::kind_word(ChannelKind::email))
        return value_of(draft, "to");
    const std::string address = value_of(draft, "url");
    std::string_view url = net::trim_blanks(address);
    if (const auto scheme = url.find("://"); scheme != std::string_view::npos)
        url.remove_prefix(scheme + 3);
    else
        return {};
    const auto end = url.find_first_of("/?#");
    std::string_view host = url.substr(0, end);
    // Whatever stands before an '@' is a login, not a place.
    if (const auto at = host.rfind('@'); at != std::string_view::npos)
        host.remove_prefix(at + 1);
    return std::string(host);
}

std::string with_channel(std::string_view ini_text, const std::optional<ChannelDraft>& before,
                         const ChannelDraft& after) {
    if (!before)
        return net::with_ini_section(ini_text, section_of(after.name), section_lines(after));
    if (before->name != after.name) {
        const std::string rest = net::without_ini_section(ini_text, section_of(before->name));
        return net::with_ini_section(rest, section_of(after.name), section_lines(after));
    }
    const std::string section = section_of(after.name);
    std::string text(ini_text);
    if (before->kind != after.kind)
        text = net::with_ini_value(text, section, "kind", after.kind);
    std::vector<std::string_view> kept;
    if (const auto kind = notify::kind_from_word(after.kind)) {
        for (const ChannelField& field : channel_fields(*kind))
            kept.push_back(field.key);
    }
    for (const std::string_view key : kValueKeys) {
        const bool of_kind = std::find(kept.begin(), kept.end(), key) != kept.end();
        const std::string old_value = value_of(*before, key);
        const std::string new_value = of_kind ? value_of(after, key) : std::string();
        if (new_value == old_value && (of_kind || old_value.empty()))
            continue;
        text = new_value.empty() ? net::without_ini_key(text, section, key)
                                 : net::with_ini_value(text, section, key, new_value);
    }
    return text;
}

std::string without_channel(std::string_view ini_text, std::string_view name) {
    return net::without_ini_section(ini_text, section_of(name));
}

}  // namespace app
