#include "board/words.h"

#include <array>

namespace board {

namespace {
constexpr std::array<std::string_view, 5> kSortWords = {"综合", "销量", "评分", "价格从低到高",
                                                        "价格从高到低"};
}  // namespace

std::string_view sort_word(ranking::Sort sort) {
    return kSortWords.at(static_cast<std::size_t>(sort));
}

std::string_view sort_word(history::Sort sort) {
    switch (sort) {
        case history::Sort::none:
            return {};
        case history::Sort::default_order:
            return kSortWords[0];
        case history::Sort::sales:
            return kSortWords[1];
        case history::Sort::credit:
            return kSortWords[2];
        case history::Sort::price_asc:
            return kSortWords[3];
        case history::Sort::price_desc:
            return kSortWords[4];
    }
    return {};
}

std::string listing_label(history::Listing listing, std::string_view key) {
    switch (listing) {
        case history::Listing::keyword:
            break;
        case history::Listing::category:
            return "类目 " + std::string(key);
        case history::Listing::tab:
            return "爱逛街 " + std::string(key);
        case history::Listing::new_goods:
            return "新品";
    }
    return std::string(key);
}

std::string cell_label(history::Listing listing, std::string_view key, history::Sort sort) {
    std::string label = listing_label(listing, key);
    if (const std::string_view word = sort_word(sort); !word.empty())
        label += " · " + std::string(word);
    return label;
}

}  // namespace board
