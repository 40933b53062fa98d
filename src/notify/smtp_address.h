#pragma once
// An SMTP server's address as korvel.ini gives it ("smtps://host:465",
// "smtp://host:587", "host:25"), read once with libcurl's URL parser, so that
// the host judged and the host connected to are the same one: a scheme in
// capitals, a user-info part or an IPv6 literal cannot make a remote relay
// pass for this machine.
#include <optional>
#include <string>
#include <string_view>

namespace notify {

struct SmtpAddress {
    bool tls_at_once = false;  // smtps://: TLS from the first byte
    std::string host;          // as the parser gives it; an IPv6 literal in brackets
    bool loopback = false;     // localhost, 127.0.0.0/8, ::1: traffic that never leaves the machine
    std::string url;           // rebuilt from the parts read (no user-info), for libcurl
};

// The address, or nothing with `problem` saying why (names no secret): no
// host, a scheme other than smtp or smtps, a login written into the address
// (it belongs in user and password). Without a scheme smtp:// is meant.
std::optional<SmtpAddress> parse_smtp_address(std::string_view text,
                                              std::string* problem = nullptr);

// Whether a host as the parser gives it is this machine: "localhost" (any
// letter case), an IPv4 address in 127.0.0.0/8, or [::1] (also written as an
// IPv4-mapped 127 address).
bool is_loopback_host(std::string_view host);

// Whether the login and the message may only go after STARTTLS: every smtp://
// server but one on this machine. An address that cannot be read requires it.
bool requires_starttls(const SmtpAddress& address);

}  // namespace notify
