#include "ranking/listing_scan.h"

#include "text/primitives.h"

namespace ranking {

std::optional<int> scan_listing(const std::vector<ListingRow>& table, std::string_view target) {
    const std::string wanted = text::trim(target);
    int position = 0;
    for (const ListingRow& row : table) {
        ++position;
        const std::string_view id = row.empty() ? std::string_view{} : std::string_view(row[0]);
        if (text::trim(id) == wanted)
            return position;
    }
    return std::nullopt;
}

}  // namespace ranking
