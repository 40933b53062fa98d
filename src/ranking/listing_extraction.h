#pragma once
// Goods ids out of one listing response. Qt-free: the table rows are plain
// data (column 0 the goods id, column 1 kept beside it, never read).
#include <string>
#include <string_view>
#include <vector>

#include "ranking/query_kind.h"

namespace ranking {

using ListingRow = std::vector<std::string>;

// The pattern the kind's listing is read with.
const std::string& listing_pattern(QueryKind kind);

// Appends one row per listing entry of `body` (GBK text) to `table`, in
// response order.
void append_listing_rows(std::vector<ListingRow>& table, QueryKind kind, std::string_view body);

}  // namespace ranking
