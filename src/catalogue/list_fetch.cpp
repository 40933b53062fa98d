#include "catalogue/list_fetch.h"

#include "catalogue/fetch_body.h"
#include "catalogue/loaders.h"
#include "catalogue/response_parsing.h"
#include "net/hosts.h"
#include "net/remote_addresses.h"

namespace catalogue {

std::vector<CategoryEntry> fetch_level1(const net::Hosts& hosts) {
    const std::string body = fetch_body(hosts.vendor_info, net::level1_page_path());
    return parse_category_lines(level1_buffer_from_page(body));
}

std::vector<CategoryEntry> fetch_sub_level(const net::Hosts& hosts, ListKind kind,
                                           const std::string& parent_id) {
    const std::string path = kind == ListKind::Level2 ? net::level2_groups_path(parent_id)
                                                      : net::level3_groups_path(parent_id);
    std::vector<CategoryEntry> entries;
    for (int attempt = 1; attempt <= kSubLevelTries && entries.empty(); ++attempt)
        entries =
            parse_category_lines(group_lines_from_response(fetch_body(hosts.operations_api, path)));
    return entries;
}

std::vector<CategoryEntry> fetch_tabs(const net::Hosts& hosts) {
    const std::string body = fetch_body(hosts.operations_api, net::tablist_path());
    return parse_category_lines(tab_lines_from_response(body));
}

}  // namespace catalogue
