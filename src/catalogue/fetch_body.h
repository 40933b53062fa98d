#pragma once
#include <string>
#include <string_view>

namespace catalogue {

// GET http://host + path through fetch_page; the body as text (up to its
// first NUL), empty on failure. Events are dispatched while it waits.
std::string fetch_body(std::string_view host, std::string_view path);

}  // namespace catalogue
