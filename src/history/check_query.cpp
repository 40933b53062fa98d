#include "history/check_query.h"

#include "history/records.h"

namespace history {

std::vector<FilterTerm> filter_terms(const CheckFilter& filter) {
    std::vector<FilterTerm> terms;
    const auto add = [&terms](const char* condition, auto value) {
        FilterTerm& term = terms.emplace_back();
        term.column_and_comparison = condition;
        term.value.emplace<decltype(value)>(std::move(value));
    };
    if (filter.board) {
        add("c.board =", *filter.board);
    }
    if (filter.since_ms) {
        add("c.time_ms >=", *filter.since_ms);
    }
    if (filter.until_ms) {
        add("c.time_ms <", *filter.until_ms);
    }
    if (filter.listing) {
        add("c.listing =", std::string(to_text(*filter.listing)));
    }
    if (filter.key) {
        add("c.listing_key =", *filter.key);
    }
    if (filter.sort) {
        add("c.sort_order =", std::string(to_text(*filter.sort)));
    }
    return terms;
}

const char* check_rows_order(bool newest_first) {
    return newest_first ? " ORDER BY c.time_ms DESC, c.id DESC, g.position"
                        : " ORDER BY c.time_ms, c.id, g.position";
}

}  // namespace history
