#pragma once
// What a korvel-check run will do, decided before anything is fetched: the
// goods items (each an id to use as it is, or a link whose goods page gives
// the id) and the listings in output order — keywords (each under its sort
// orders), categories, the tab, new goods.
#include <string>
#include <string_view>
#include <vector>

#include "check_options.h"
#include "ranking/listing.h"

namespace cli {

struct GoodsInput {
    std::string typed;  // UTF-8, surrounding blanks dropped
    bool is_link = false;
};

struct PlannedListing {
    ranking::Listing listing;  // the key in GBK, as the engine reads it
    std::string key;           // the same key in UTF-8, for output
};

struct CheckPlan {
    std::vector<GoodsInput> goods;
    std::vector<PlannedListing> listings;
};

// The plan, or the reason the options cannot be checked (a usage error).
struct PlanOrProblem {
    CheckPlan plan;
    std::string problem;  // empty when the plan holds
};

// `file_keywords` are the keywords file's (after --keyword's); `domain_word`
// (GBK) is what marks a goods input as a link, the way the window tells them
// apart.
PlanOrProblem make_plan(const CheckOptions& options, const std::vector<std::string>& file_keywords,
                        std::string_view domain_word);

// "keyword 辣条 sales", "category 14", "tab 14" or "new" (UTF-8).
std::string listing_label(const PlannedListing& listing);

// The sort's name, or empty for listings without sort orders.
std::string_view sort_label(const ranking::Listing& listing);

}  // namespace cli
