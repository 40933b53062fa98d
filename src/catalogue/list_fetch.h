#pragma once
// The category and 爱逛街 lists fetched on their own, for a board's form:
// the same requests and parsing as the pages' loaders, without their boxes,
// buffers or status links, so the form offers every level without a visit
// to 类目排名 or 爱逛街排名. Each waits through the event pump (events are
// dispatched meanwhile) and gives the entries in response order (GBK);
// an answer that cannot be read gives none.
#include <string>
#include <vector>

#include "catalogue/category_line.h"
#include "catalogue/list_kind.h"
#include "net/hosts.h"

namespace catalogue {

std::vector<CategoryEntry> fetch_level1(const net::Hosts& hosts);
// The children of a level-1 category (kind Level2) or of a level-2 one
// (Level3); a blank answer is asked again, like the page does.
std::vector<CategoryEntry> fetch_sub_level(const net::Hosts& hosts, ListKind kind,
                                           const std::string& parent_id);
std::vector<CategoryEntry> fetch_tabs(const net::Hosts& hosts);

}  // namespace catalogue
