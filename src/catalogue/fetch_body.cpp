#include "catalogue/fetch_body.h"

#include "net/fetch_page.h"
#include "net/remote_addresses.h"
#include "text/primitives.h"

namespace catalogue {

std::string fetch_body(std::string_view host, std::string_view path) {
    std::string url = net::http_url(host, path);
    return std::string(text::as_text(net::fetch_page(url)));
}

}  // namespace catalogue
