#pragma once
// Where the catalogue's lists are fetched from: paths and queries on the
// vendor info server and the operations API host.
#include <string>
#include <string_view>

namespace catalogue {

// The vendor info page that carries the level-1 category list.
std::string level1_path();
// The groups of a level-1 category (its level-2 categories). Note the
// parameter order: offset before opt_type.
std::string level2_path(std::string_view level1_id);
// The groups of a level-2 category (its level-3 categories): opt_type first.
std::string level3_path(std::string_view level2_id);
// The 爱逛街 tab list.
std::string tablist_path();

// "http://" + host + path.
std::string request_url(std::string_view host, std::string_view path);

// An id as one path segment. Ids are decimal digits and pass unchanged; any
// other byte (blank, control, slash, "?", "#", "%", non-ASCII …) is
// percent-encoded, so a strange id can neither break the request line nor
// reach another path or query.
std::string id_segment(std::string_view id);

}  // namespace catalogue
