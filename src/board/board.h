#pragma once
// A board: the seller's goods and their competitors, checked in a set of
// listings (every keyword under every chosen sort order, plus category, tab
// and new-goods listings). Every text field holds GBK, like the rest of the
// program, so a keyword goes into ranking::Listing::key unchanged; only the
// board's text form (board_text.h) is UTF-8.
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "board/notices.h"
#include "board/schedule.h"
#include "board/words.h"
#include "ranking/listing.h"

namespace board {

inline constexpr std::size_t kMaxCompetitors = 5;

struct GoodsItem {
    std::string id;    // the Goods ID, digits; resolved from the link when one was given
    std::string link;  // the goods link as typed; empty when the id was typed
    std::string name;  // optional, for display
    std::string shop;  // optional, for display
    bool operator==(const GoodsItem&) const = default;
};

struct Board {
    std::string name;
    std::vector<GoodsItem> own;          // at least one
    std::vector<GoodsItem> competitors;  // at most kMaxCompetitors
    std::vector<std::string> keywords;   // GBK
    std::vector<ranking::Sort> sorts{ranking::kAllSorts.begin(), ranking::kAllSorts.end()};
    std::vector<std::string> category_ids;
    std::optional<std::string> tab_id;  // a 爱逛街 tab
    // The names the categories and the tab were chosen or confirmed with
    // (GBK, by id), so a seller reads "休闲零食", not "类目 14"; optional.
    std::map<std::string, std::string> category_names;
    std::string tab_name;
    bool new_goods = false;
    std::optional<Schedule> schedule;  // unattended re-checks; none: only on demand
    NoticeThresholds notices;          // when a change is worth a notice
    // Names of the notice channels (korvel.ini's [notify.NAME] sections) the
    // board's notices and daily report go to.
    std::vector<std::string> channels;
    // The daily report's local time, minutes after midnight; none: no report.
    std::optional<int> report_minute;
    bool operator==(const Board&) const = default;
};

// What is wrong with the board, one GBK message per fault; empty when it can
// be checked: a name, one own goods item or more, at most five competitors,
// every goods item a Goods ID (digits) or a goods link (its id is looked up
// when the board runs), none named twice, and at least one listing.
std::vector<std::string> validate(const Board& board);

// The goods every check of the board reads the listing for: own goods first,
// then the competitors, in board order.
std::vector<std::string> goods_ids(const Board& board);

// The board's category and tab names, UTF-8, for the labels of its listings.
ListingNames listing_names(const Board& board);

}  // namespace board
