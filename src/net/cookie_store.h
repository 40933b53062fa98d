#pragma once
// The process-wide cookie store shared by every exchange of both HTTP
// routines: a libcurl share handle for cookie data, locked per data kind so
// that concurrent workers can use it.
namespace net {

// An exchange without an explicit cookie sends the stored cookies that match
// its address and keeps every cookie it receives in the store.
void use_cookie_store(void* easy);

// An exchange with an explicit cookie leaves the store out of its request:
// it collects what it receives in a jar of its own, and copy_received_cookies
// then moves those cookies into the store.
void use_private_jar(void* easy);
void copy_received_cookies(void* easy);

// Forgets every stored cookie.
void clear_cookies();

}  // namespace net
