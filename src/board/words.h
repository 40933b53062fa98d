#pragma once
// The board's one vocabulary (UTF-8): the grid, the chart, the notices, the
// exports and korvel-check's tables name each thing with these words.
#include <map>
#include <string>
#include <string_view>

#include "history/records.h"
#include "ranking/listing.h"

namespace board {

inline constexpr std::string_view kOwnWord = "本店";
inline constexpr std::string_view kCompetitorWord = "竞品";
inline constexpr std::string_view kNotInTopWord = "千名外";
inline constexpr std::string_view kFailedWord = "失败";
inline constexpr std::string_view kNotCheckedWord = "未检查";
// A sort column of a listing that has no sort orders (category, tab, 新品).
inline constexpr std::string_view kNoSortWord = "不分排序";

// "综合", "销量", "评分", "价格从低到高", "价格从高到低".
std::string_view sort_word(ranking::Sort sort);
// The same for a stored sort; empty for a listing without one.
std::string_view sort_word(history::Sort sort);

// The names a board knows for its categories and 爱逛街 tabs (UTF-8, by id).
struct ListingNames {
    std::map<std::string, std::string, std::less<>> categories;
    std::map<std::string, std::string, std::less<>> tabs;
};

// A listing as the board names it (key UTF-8): "辣条", "类目 休闲零食" (the
// id, "类目 14", when no name is known), "爱逛街 今日推荐", "新品".
std::string listing_label(history::Listing listing, std::string_view key,
                          const ListingNames& names = {});
// A cell: the listing and its sort order, "辣条 · 销量".
std::string cell_label(history::Listing listing, std::string_view key, history::Sort sort,
                       const ListingNames& names = {});

}  // namespace board
