#pragma once
// The fixed part of the simulated marketplace: the category tree (the same
// for every seed, since the vendor page publishes its level-1 ids) and the
// "爱逛街" tabs with the level-1 categories each tab shows.
#include <string_view>
#include <vector>

namespace sim::tree {

struct Level3 {
    std::string_view id;
    std::string_view name;
    // Words that make goods names in this category.
    std::vector<std::string_view> products;
};

struct Level2 {
    std::string_view id;
    std::string_view name;
    std::vector<Level3> children;
};

struct Level1 {
    std::string_view id;
    std::string_view name;
    std::vector<Level2> children;
};

struct TabEntry {
    std::string_view id;
    std::string_view name;
    std::vector<std::string_view> level1_ids;  // empty: every category
};

const std::vector<Level1>& categories();
const std::vector<TabEntry>& tabs();

// Where the sample goods lives.
inline constexpr std::string_view kSampleLevel3 = "23017";
inline constexpr std::string_view kSampleTab = "14";

}  // namespace sim::tree
