#include "notify/webhook.h"

#include "history/iso_time.h"
#include "notify/json_text.h"
#include "notify/run_text.h"
#include "notify/signing.h"

namespace notify {

namespace {

std::string member(std::string_view name, const std::string& json_value) {
    return json_quote(name) + ":" + json_value;
}

std::string text_body(std::string_view type_key, std::string_view type,
                      std::string_view content_key, std::string_view text_key,
                      const std::string& text) {
    return "{" + member(type_key, json_quote(type)) + "," +
           member(content_key, "{" + member(text_key, json_quote(text)) + "}") + "}";
}

std::string notice_json(const NoticeLine& line) {
    return "{" + member("cell", json_quote(line.cell)) + "," +
           member("before", json_quote(line.before)) + "," +
           member("after", json_quote(line.after)) + "," + member("kind", json_quote(line.kind)) +
           "," + member("message", json_quote(line.message)) +
           (line.late ? "," + member("late", "true") : std::string()) + "}";
}

std::string time_members(std::int64_t time_ms) {
    return member("time", json_quote(history::iso_utc(time_ms))) + "," +
           member("time_ms", std::to_string(time_ms));
}

std::string own_json(const Content& content, std::int64_t now_ms) {
    if (const auto* text = std::get_if<std::string>(&content))
        return "{" + time_members(now_ms) + "," + member("text", json_quote(*text)) + "}";
    const auto& run = std::get<RunMessage>(content);
    std::string notices;
    for (const auto& line : run.notices)
        notices += (notices.empty() ? "" : ",") + notice_json(line);
    return "{" + member("board", json_quote(run.board)) + "," + time_members(run.time_ms) + "," +
           member("notices", "[" + notices + "]") + "}";
}

std::string feishu_body(const Channel& channel, const std::string& text, std::int64_t now_ms) {
    std::string signature;
    if (!channel.secret.empty()) {
        const std::int64_t seconds = now_ms / 1000;
        signature = member("timestamp", json_quote(std::to_string(seconds))) + "," +
                    member("sign", json_quote(feishu_sign(channel.secret, seconds))) + ",";
    }
    return "{" + signature + member("msg_type", json_quote("text")) + "," +
           member("content", "{" + member("text", json_quote(text)) + "}") + "}";
}

std::string dingtalk_url(const Channel& channel, std::int64_t now_ms) {
    if (channel.secret.empty())
        return channel.url;
    const char joint = channel.url.find('?') == std::string::npos ? '?' : '&';
    return channel.url + joint + "timestamp=" + std::to_string(now_ms) +
           "&sign=" + dingtalk_sign(channel.secret, now_ms);
}

}  // namespace

std::size_t text_limit(ChannelKind kind) {
    switch (kind) {
        case ChannelKind::wecom:
            return 2048;
        case ChannelKind::wecom_markdown:
            return 4096;
        case ChannelKind::dingtalk:
            return 20000;
        case ChannelKind::feishu:
            // The whole request may hold 20 KB; the rest is the envelope,
            // the signature and the escapes of the line ends.
            return 18000;
        default:
            return kNoLimit;
    }
}

std::string cut_utf8(std::string_view text, std::size_t max_bytes) {
    if (text.size() <= max_bytes)
        return std::string(text);
    constexpr std::string_view mark = "…";
    std::size_t end = max_bytes > mark.size() ? max_bytes - mark.size() : 0;
    // Step back over continuation bytes to the start of a character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end)) + std::string(mark);
}

WebhookRequest webhook_request(const Channel& channel, const Content& content, std::int64_t now_ms,
                               int utc_offset_minutes) {
    const std::size_t limit = text_limit(channel.kind);
    switch (channel.kind) {
        case ChannelKind::wecom:
            return {channel.url, text_body("msgtype", "text", "text", "content",
                                           text_of(content, utc_offset_minutes, limit))};
        case ChannelKind::wecom_markdown:
            return {channel.url, text_body("msgtype", "markdown", "markdown", "content",
                                           markdown_of(content, utc_offset_minutes, limit))};
        case ChannelKind::dingtalk:
            return {dingtalk_url(channel, now_ms),
                    text_body("msgtype", "text", "text", "content",
                              text_of(content, utc_offset_minutes, limit))};
        case ChannelKind::feishu:
            return {channel.url,
                    feishu_body(channel, text_of(content, utc_offset_minutes, limit), now_ms)};
        default:
            return {channel.url, own_json(content, now_ms)};
    }
}

std::optional<std::string> answer_problem(ChannelKind kind, int status, std::string_view body) {
    if (status < 200 || status > 299)
        return "HTTP " + std::to_string(status);
    if (kind == ChannelKind::json)
        return std::nullopt;
    bool answered = false;
    for (const char* code_name : {"errcode", "code", "StatusCode"}) {
        const auto code = json_number_member(body, code_name);
        answered = answered || code.has_value();
        if (!code || *code == 0)
            continue;
        std::string problem = std::string(code_name) + " " + std::to_string(*code);
        for (const char* text_name : {"errmsg", "msg", "StatusMessage"}) {
            if (const auto text = json_string_member(body, text_name)) {
                problem += "：" + *text;
                break;
            }
        }
        return problem;
    }
    // A robot always says how it took the message; anything else is no robot.
    if (!answered)
        return "the answer carries no errcode or code";
    return std::nullopt;
}

}  // namespace notify
