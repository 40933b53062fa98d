#include "catalogue/request_paths.h"

#include "text/primitives.h"

namespace catalogue {

namespace {

bool is_unreserved(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string id_segment(std::string_view id) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(id.size());
    for (unsigned char c : text::as_text(id)) {
        if (is_unreserved(c)) {
            out += static_cast<char>(c);
            continue;
        }
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    }
    return out;
}

std::string level1_path() {
    return "/info.asp?id=70";
}

std::string level2_path(std::string_view level1_id) {
    return "/operation/" + id_segment(level1_id) +
           "/groups?offset=0&opt_type=1&size=20&sort_type=DEFAULT&qmxuid=0";
}

std::string level3_path(std::string_view level2_id) {
    return "/operation/" + id_segment(level2_id) +
           "/groups?opt_type=2&offset=0&size=20&sort_type=DEFAULT&qmxuid=0";
}

std::string tablist_path() {
    return "/ishopping/tablist?qmxuid=";
}

std::string request_url(std::string_view host, std::string_view path) {
    std::string url = "http://";
    url.append(host).append(path);
    return url;
}

}  // namespace catalogue
