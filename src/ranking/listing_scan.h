#pragma once
// Where the target stands in the listing table.
#include <optional>
#include <string_view>
#include <vector>

#include "ranking/listing_extraction.h"

namespace ranking {

// 1-based position of the first row whose goods id equals the target, both
// trimmed of spaces and then compared byte for byte; nullopt when none does.
std::optional<int> scan_listing(const std::vector<ListingRow>& table, std::string_view target);

}  // namespace ranking
