#pragma once
// Which PostgreSQL server addresses are this machine, and so may be reached
// without TLS: a Unix socket (a directory, an abstract name, or none given),
// localhost, 127.0.0.0/8 and ::1. Any other host gets sslmode=require unless
// the URL (or PGSSLMODE) chooses otherwise.
#include <string_view>

namespace history::pg {

bool is_local_host(std::string_view host);

// `hosts` and `hostaddrs` as libpq takes them: comma-separated lists whose
// entries pair up; a hostaddr, when given, is the address really used.
bool needs_tls(std::string_view hosts, std::string_view hostaddrs);

}  // namespace history::pg
