#pragma once
// Category lines: a name, the GBK full-width dash "—" (A1 AA) and an id, one
// per CR LF-separated entry of a category buffer.
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

struct CategoryEntry {
    std::string name;
    std::string id;
};

// The separator between name and id: "—" in GBK.
const std::string& category_separator();

// One category line, ended by CR LF.
std::string category_line(std::string_view name, std::string_view id);

// The entries of a category buffer, in order. The id is what follows the last
// separator, so a name that itself holds "—" stays whole. A line without a
// separator, an empty line and a line with nothing after its last separator
// have no id: they are skipped, which keeps a box and its id list in step.
std::vector<CategoryEntry> parse_category_lines(std::string_view buffer);

}  // namespace catalogue
