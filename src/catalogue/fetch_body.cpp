#include "catalogue/fetch_body.h"

#include "catalogue/request_paths.h"
#include "net/fetch_page.h"
#include "text/primitives.h"

namespace catalogue {

std::string fetch_body(std::string_view host, std::string_view path) {
    std::string url = request_url(host, path);
    return std::string(text::as_text(net::fetch_page(url)));
}

}  // namespace catalogue
