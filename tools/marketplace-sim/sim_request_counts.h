#pragma once
// How many requests of each kind the server received and how many of them
// the rate limit turned away, so tests and benchmarks can check how many
// pages a client asked for.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

enum class PathKind {
    goods_page,      // /goods2.html
    keyword_page,    // /search
    new_goods_page,  // /v5/newlist
    category_list,   // /operation/ID/groups with size <= 20 (sub-categories)
    category_page,   // /operation/ID/groups with a larger size (ranking pages)
    tab_list,        // /ishopping/tablist
    tab_page,        // /ishopping/goods
    vendor,          // the vendor info server: /info.asp, /download/…, /1.html, /
    other,           // anything else (answered 404)
};
inline constexpr std::size_t kPathKindCount = 9;

// "goods_page", "keyword_page", … as in the enum.
std::string_view path_kind_name(PathKind kind);
// The marketplace's own answers: the kinds the rate limit applies to.
bool marketplace_kind(PathKind kind);

// The simulator's own endpoint for the counts; never counted, limited or
// faulted. With "?reset=1" the counts start again from zero after this answer.
inline constexpr std::string_view kCountsPath = "/_sim/counts";
inline constexpr std::string_view kControlPrefix = "/_sim/";

struct RequestCounts {
    // Every request received, those answered 429 by the rate limit included.
    std::array<int, kPathKindCount> received{};
    // Those the rate limit answered with 429 (not a `status` fault's 429).
    std::array<int, kPathKindCount> rate_limited{};

    int received_of(PathKind kind) const { return received[static_cast<std::size_t>(kind)]; }
    int rate_limited_of(PathKind kind) const {
        return rate_limited[static_cast<std::size_t>(kind)];
    }
    int received_total() const;
    int rate_limited_total() const;
    // Listing pages received: keyword, category ranking, tab and new-goods pages.
    int listing_pages() const;

    void add(PathKind kind, bool limited);
};

// {"received":{"goods_page":N,…},"rate_limited":{…},"received_total":N,
//  "rate_limited_total":N,"listing_pages":N}
std::string counts_json(const RequestCounts& counts);

}  // namespace sim
