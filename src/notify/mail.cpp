#include "notify/mail.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>

#include "net/ini_section.h"
#include "notify/signing.h"

namespace notify {

namespace {

// Raw bytes per encoded word: 45 bytes are 60 Base64 characters, which with
// "=?UTF-8?B?" and "?=" make 72 of the 75 an encoded word may have.
constexpr std::size_t kWordBytes = 45;
constexpr std::size_t kBodyLine = 76;

bool is_plain_ascii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte < 0x7F;
    });
}

std::string crlf_lines(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

std::string base64_lines(std::string_view bytes) {
    const std::string encoded = base64(bytes);
    std::string out;
    for (std::size_t at = 0; at < encoded.size(); at += kBodyLine)
        out += encoded.substr(at, kBodyLine) + "\r\n";
    return out;
}

std::string mailbox_header(std::string_view mailbox) {
    const auto open = mailbox.find('<');
    if (open == std::string_view::npos)
        return std::string(mailbox);
    const std::string_view name = net::trim_blanks(mailbox.substr(0, open));
    if (name.empty())
        return std::string(mailbox.substr(open));
    return encoded_header_text(name) + " " + std::string(mailbox.substr(open));
}

std::string message_id(const MailParts& parts) {
    const std::string from = address_of(parts.from);
    const auto at = from.find('@');
    const std::string domain = at == std::string::npos ? "korvel.invalid" : from.substr(at + 1);
    std::size_t mix = std::hash<std::string>{}(parts.subject + parts.body);
    return "<" + std::to_string(parts.time_ms) + "." + std::to_string(mix % 1000000007) +
           ".korvel@" + domain + ">";
}

}  // namespace

std::string encoded_header_text(std::string_view utf8) {
    if (is_plain_ascii(utf8))
        return std::string(utf8);
    std::string out;
    while (!utf8.empty()) {
        std::size_t end = std::min(kWordBytes, utf8.size());
        while (end < utf8.size() && end > 0 &&
               (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (end == 0)
            end = std::min(kWordBytes, utf8.size());
        out += (out.empty() ? "" : "\r\n ") + std::string("=?UTF-8?B?") +
               base64(utf8.substr(0, end)) + "?=";
        utf8.remove_prefix(end);
    }
    return out;
}

std::string mail_date(std::int64_t unix_ms) {
    using namespace std::chrono;
    static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                         "Thu", "Fri", "Sat"};
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const sys_time<milliseconds> at{milliseconds(unix_ms)};
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<seconds>(at - day)};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %02u %s %d %02d:%02d:%02d +0000",
                  kDays[weekday{day}.c_encoding()], static_cast<unsigned>(date.day()),
                  kMonths[static_cast<unsigned>(date.month()) - 1], static_cast<int>(date.year()),
                  static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return buffer;
}

std::string address_of(std::string_view mailbox) {
    const auto open = mailbox.find('<');
    const auto close = mailbox.find('>', open == std::string_view::npos ? 0 : open);
    if (open == std::string_view::npos || close == std::string_view::npos)
        return std::string(net::trim_blanks(mailbox));
    return std::string(net::trim_blanks(mailbox.substr(open + 1, close - open - 1)));
}

std::string mime_message(const MailParts& parts) {
    std::string to;
    for (const auto& address : parts.to)
        to += (to.empty() ? "" : ", ") + address;
    return "Date: " + mail_date(parts.time_ms) + "\r\n" + "From: " + mailbox_header(parts.from) +
           "\r\n" + "To: " + to + "\r\n" + "Subject: " + encoded_header_text(parts.subject) +
           "\r\n" + "Message-ID: " + message_id(parts) + "\r\n" + "MIME-Version: 1.0\r\n" +
           "Content-Type: text/plain; charset=UTF-8\r\n" + "Content-Transfer-Encoding: base64\r\n" +
           "\r\n" + base64_lines(crlf_lines(parts.body));
}

}  // namespace notify
