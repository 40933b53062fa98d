#include <array>
#include <charconv>
#include <utility>

#include "history/records.h"

namespace history {
namespace {

// One table per enumeration, so a word is written in one place only.
template <class E, std::size_t N>
using Words = std::array<std::pair<E, std::string_view>, N>;

constexpr Words<Listing, 4> listing_words{{
    {Listing::keyword, "keyword"},
    {Listing::category, "category"},
    {Listing::tab, "tab"},
    {Listing::new_goods, "new"},
}};

constexpr Words<Sort, 6> sort_words{{
    {Sort::none, ""},
    {Sort::default_order, "default"},
    {Sort::sales, "sales"},
    {Sort::credit, "credit"},
    {Sort::price_asc, "price-asc"},
    {Sort::price_desc, "price-desc"},
}};

constexpr Words<Outcome, 4> outcome_words{{
    {Outcome::found, "found"},
    {Outcome::not_in_top_1000, "not_in_top_1000"},
    {Outcome::failed, "failed"},
    {Outcome::not_checked, "not_checked"},
}};

constexpr Words<Role, 2> role_words{{
    {Role::own, "own"},
    {Role::competitor, "competitor"},
}};

template <class E, std::size_t N>
std::string_view word_of(const Words<E, N>& words, E value) {
    for (const auto& [e, word] : words) {
        if (e == value) {
            return word;
        }
    }
    return {};
}

template <class E, std::size_t N>
std::optional<E> value_of(const Words<E, N>& words, std::string_view text) {
    for (const auto& [e, word] : words) {
        if (word == text) {
            return e;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string_view to_text(Listing listing) {
    return word_of(listing_words, listing);
}
std::string_view to_text(Sort sort) {
    return word_of(sort_words, sort);
}
std::string_view to_text(Outcome outcome) {
    return word_of(outcome_words, outcome);
}
std::string_view to_text(Role role) {
    return word_of(role_words, role);
}

std::optional<Listing> listing_from_text(std::string_view text) {
    return value_of(listing_words, text);
}
std::optional<Sort> sort_from_text(std::string_view text) {
    return value_of(sort_words, text);
}
std::optional<Outcome> outcome_from_text(std::string_view text) {
    return value_of(outcome_words, text);
}
std::optional<Role> role_from_text(std::string_view text) {
    return value_of(role_words, text);
}

std::string join_statuses(const std::vector<int>& statuses) {
    std::string text;
    for (const int status : statuses) {
        if (!text.empty()) {
            text += ';';
        }
        text += std::to_string(status);
    }
    return text;
}

std::vector<int> split_statuses(std::string_view text) {
    std::vector<int> statuses;
    while (!text.empty()) {
        const auto end = text.find(';');
        const auto part = text.substr(0, end);
        int status = 0;
        const auto [rest, error] = std::from_chars(part.data(), part.data() + part.size(), status);
        if (error == std::errc{} && rest == part.data() + part.size()) {
            statuses.push_back(status);
        }
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return statuses;
}

Outcome status_of(const Check& check, const GoodsResult& goods) {
    if (goods.status) {
        return *goods.status;
    }
    if (check.outcome == Outcome::failed || check.outcome == Outcome::not_checked) {
        return check.outcome;
    }
    return goods.rank ? Outcome::found : Outcome::not_in_top_1000;
}

}  // namespace history
