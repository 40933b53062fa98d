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

namespace {
std::string named(std::string_view word, std::string_view id,
                  const std::map<std::string, std::string, std::less<>>& names) {
    const auto name = names.find(id);
    const bool known = name != names.end() && !name->second.empty();
    return std::string(word) + " " + (known ? name->second : std::string(id));
}
}  // namespace

std::string listing_label(history::Listing listing, std::string_view key,
                          const ListingNames& names) {
    switch (listing) {
        case history::Listing::keyword:
            break;
        case history::Listing::category:
            return named("类目", key, names.categories);
        case history::Listing::tab:
            return named("爱逛街", key, names.tabs);
        case history::Listing::new_goods:
            return "新品";
    }
    return std::string(key);
}

std::string cell_label(history::Listing listing, std::string_view key, history::Sort sort,
                       const ListingNames& names) {
    std::string label = listing_label(listing, key, names);
    if (const std::string_view word = sort_word(sort); !word.empty())
        label += " · " + std::string(word);
    return label;
}

}  // namespace board
