#include "sim_request_counts.h"

#include <numeric>

namespace sim {

namespace {

constexpr std::array<std::string_view, kPathKindCount> kNames = {
    "goods_page", "keyword_page", "new_goods_page", "category_list", "category_page",
    "tab_list",   "tab_page",     "vendor",         "other"};

std::string by_kind(const std::array<int, kPathKindCount>& values) {
    std::string out = "{";
    for (std::size_t i = 0; i < kPathKindCount; ++i) {
        out += (i ? ",\"" : "\"") + std::string(kNames[i]) + "\":" + std::to_string(values[i]);
    }
    return out + "}";
}

int sum(const std::array<int, kPathKindCount>& values) {
    return std::accumulate(values.begin(), values.end(), 0);
}

}  // namespace

std::string_view path_kind_name(PathKind kind) {
    return kNames[static_cast<std::size_t>(kind)];
}

bool marketplace_kind(PathKind kind) {
    return kind != PathKind::vendor && kind != PathKind::other;
}

int RequestCounts::received_total() const {
    return sum(received);
}

int RequestCounts::rate_limited_total() const {
    return sum(rate_limited);
}

int RequestCounts::listing_pages() const {
    return received_of(PathKind::keyword_page) + received_of(PathKind::category_page) +
           received_of(PathKind::tab_page) + received_of(PathKind::new_goods_page);
}

void RequestCounts::add(PathKind kind, bool limited) {
    ++received[static_cast<std::size_t>(kind)];
    if (limited) {
        ++rate_limited[static_cast<std::size_t>(kind)];
    }
}

std::string counts_json(const RequestCounts& counts) {
    return R"({"received":)" + by_kind(counts.received) + R"(,"rate_limited":)" +
           by_kind(counts.rate_limited) + R"(,"received_total":)" +
           std::to_string(counts.received_total()) + R"(,"rate_limited_total":)" +
           std::to_string(counts.rate_limited_total()) + R"(,"listing_pages":)" +
           std::to_string(counts.listing_pages()) + "}";
}

}  // namespace sim
