// Secrets masked in any text that leaves the process: a chat server, a mail
// server or libcurl may echo them back, and not always as they were sent.
#include <algorithm>
#include <cstdio>

#include "notify/channel.h"
#include "notify/json_text.h"
#include "notify/signing.h"
#include "text/percent_decoding.h"
#include "text/utf8.h"

namespace notify {

namespace {

// Short pieces would blot out ordinary words; no real token is that short.
constexpr std::size_t kShortest = 4;
// A path segment this long is a token (a hook's id); shorter ones are words.
constexpr std::size_t kTokenSegment = 12;

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

std::string percent_encoded(std::string_view text, const char* hex_format) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (unreserved(byte)) {
            out += c;
        } else {
            char buffer[4];
            std::snprintf(buffer, sizeof buffer, hex_format, byte);
            out += buffer;
        }
    }
    return out;
}

// The code point of one UTF-8 sequence of `length` bytes.
unsigned code_point(std::string_view sequence) {
    static constexpr unsigned kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned value = static_cast<unsigned char>(sequence[0]) & kLeadMask[sequence.size()];
    for (std::size_t i = 1; i < sequence.size(); ++i)
        value = (value << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
    return value;
}

// As a JSON encoder may write it inside a string: '/' as "\/", and (with a
// format) every character beyond ASCII as \uXXXX, in UTF-16 halves.
std::string json_escaped(std::string_view text, const char* unicode_format) {
    std::string out = json_quote(text);
    out = out.substr(1, out.size() - 2);
    std::string escaped;
    std::string_view rest = out;
    while (!rest.empty()) {
        const std::size_t length = std::max<std::size_t>(1, text::utf8_sequence_length(rest));
        if (rest.front() == '/') {
            escaped += "\\/";
        } else if (length > 1 && unicode_format != nullptr) {
            unsigned value = code_point(rest.substr(0, length));
            char buffer[16];
            if (value >= 0x10000) {
                value -= 0x10000;
                std::snprintf(buffer, sizeof buffer, unicode_format, 0xD800 + (value >> 10));
                escaped += buffer;
                value = 0xDC00 + (value & 0x3FF);
            }
            std::snprintf(buffer, sizeof buffer, unicode_format, value);
            escaped += buffer;
        } else {
            escaped += rest.substr(0, length);
        }
        rest.remove_prefix(std::min(length, rest.size()));
    }
    return escaped;
}

// The parts of a webhook address that carry its token: the whole address,
// its path and query, each long path segment (a hook's id) and every query
// value.
std::vector<std::string> url_secrets(std::string_view url) {
    std::vector<std::string> parts{std::string(url)};
    const auto scheme_end = url.find("://");
    const auto path_start = url.find('/', scheme_end == url.npos ? 0 : scheme_end + 3);
    if (path_start == url.npos)
        return parts;
    std::string_view rest = url.substr(path_start);
    const auto question = rest.find('?');
    std::string_view path = rest.substr(0, question);
    parts.emplace_back(path);
    while (!path.empty()) {
        path.remove_prefix(1);
        const std::string_view segment = path.substr(0, path.find('/'));
        if (segment.size() >= kTokenSegment)
            parts.emplace_back(segment);
        path.remove_prefix(segment.size());
    }
    if (question == rest.npos)
        return parts;
    std::string_view query = rest.substr(question + 1);
    parts.emplace_back(query);
    while (!query.empty()) {
        const auto amp = std::min(query.find('&'), query.size());
        const std::string_view pair = query.substr(0, amp);
        if (const auto eq = pair.find('='); eq != pair.npos)
            parts.emplace_back(pair.substr(eq + 1));
        query.remove_prefix(std::min(amp + 1, query.size()));
    }
    return parts;
}

void add_forms(std::vector<std::string>& forms, const std::string& secret) {
    if (secret.size() < kShortest)
        return;
    for (const std::string& base : {secret, text::percent_decoded(secret, true)}) {
        forms.push_back(base);
        forms.push_back(percent_encoded(base, "%%%02X"));
        forms.push_back(percent_encoded(base, "%%%02x"));
        forms.push_back(json_escaped(base, nullptr));
        forms.push_back(json_escaped(base, "\\u%04x"));
        forms.push_back(json_escaped(base, "\\u%04X"));
    }
}

void replace_all(std::string& text, std::string_view secret) {
    for (auto at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3))
        text.replace(at, secret.size(), "***");
}

}  // namespace

std::vector<std::string> secret_forms(const Channel& channel) {
    std::vector<std::string> secrets = url_secrets(channel.url);
    secrets.push_back(channel.secret);
    secrets.push_back(channel.password);
    if (!channel.password.empty()) {
        // What AUTH PLAIN and AUTH LOGIN carry, should a server quote it.
        secrets.push_back(base64(std::string(1, '\0') + channel.user + '\0' + channel.password));
        secrets.push_back(base64(channel.password));
    }
    std::vector<std::string> forms;
    for (const std::string& secret : secrets)
        add_forms(forms, secret);
    // Longest first, so a whole address goes before the pieces inside it.
    std::sort(forms.begin(), forms.end(), [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() > b.size() : a < b;
    });
    forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
    std::erase_if(forms, [](const std::string& form) { return form.size() < kShortest; });
    return forms;
}

std::string redacted(std::string text, const Channel& channel) {
    for (const std::string& form : secret_forms(channel))
        replace_all(text, form);
    return text;
}

}  // namespace notify
