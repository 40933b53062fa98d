#pragma once
// The e-mail form of a message: plain UTF-8 text with a MIME header.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace notify {

// The subject as RFC 2047 encoded words ("=?UTF-8?B?...?="), each at most
// 75 characters and cut at character boundaries, joined by folding; plain
// ASCII stays as it is.
std::string encoded_header_text(std::string_view utf8);

// "Wed, 01 May 2024 08:30:00 +0000".
std::string mail_date(std::int64_t unix_ms);

// The address inside "Name <a@b>", or the text itself.
std::string address_of(std::string_view mailbox);

struct MailParts {
    std::string from;             // "Korvel <korvel@example.com>" or an address
    std::vector<std::string> to;  // addresses
    std::string subject;          // UTF-8
    std::string body;             // UTF-8, lines ending in LF or CR LF
    std::int64_t time_ms = 0;
};

// The whole message as it goes after DATA: header lines, a blank line and
// the body in Base64 lines of 76 characters, every line ending in CR LF.
std::string mime_message(const MailParts& parts);

}  // namespace notify
