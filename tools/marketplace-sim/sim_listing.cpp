#include <algorithm>

#include "sim_catalogue.h"

namespace sim {

namespace {
constexpr int kProgramPageSize = 500;
constexpr int kMaxPageSize = 1000;

bool thumb_keyed(ListingKind kind) {
    return kind == ListingKind::keyword || kind == ListingKind::category;
}
}  // namespace

std::vector<std::string> page_ids(const std::vector<std::string>& listing, int page, int size,
                                  const Options& options) {
    size = std::clamp(size, 0, kMaxPageSize);
    page = std::max(page, 1);
    const int first =
        options.short_first_page >= 0 ? std::min(options.short_first_page, size) : size;
    const long long begin = page == 1 ? 0 : first + static_cast<long long>(page - 2) * size;
    const long long count = page == 1 ? first : size;
    const long long total = static_cast<long long>(listing.size());
    if (begin >= total) {
        return {};
    }
    const long long end = std::min(total, begin + count);
    return {listing.begin() + begin, listing.begin() + end};
}

bool entry_without_thumb(ListingKind kind, int index, const Options& options) {
    return thumb_keyed(kind) && options.no_thumb_every > 0 &&
           (index + 1) % options.no_thumb_every == 0;
}

std::vector<std::string> rows_read(ListingKind kind, const std::vector<std::string>& page,
                                   const Options& options) {
    if (!thumb_keyed(kind)) {
        return page;
    }
    // A match runs from an entry's goods id to the next thumb key: when the
    // entry has none, the match ends inside a later entry, which then gives
    // no row of its own.
    std::vector<std::string> rows;
    const int n = static_cast<int>(page.size());
    int i = 0;
    while (i < n) {
        int j = i;
        while (j < n && entry_without_thumb(kind, j, options)) {
            ++j;
        }
        if (j == n) {
            break;  // no thumb key follows: no match at all
        }
        rows.push_back(page[i]);
        i = j + 1;
    }
    return rows;
}

int expected_position(ListingKind kind, const std::vector<std::string>& listing,
                      std::string_view goods_id, const Options& options) {
    auto rows = rows_read(kind, page_ids(listing, 1, kProgramPageSize, options), options);
    const auto second = rows_read(kind, page_ids(listing, 2, kProgramPageSize, options), options);
    rows.insert(rows.end(), second.begin(), second.end());
    const auto it = std::find(rows.begin(), rows.end(), goods_id);
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin()) + 1;
}

}  // namespace sim
