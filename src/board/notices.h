#pragma once
// Change notices: what changed for the seller between two successful checks
// of one cell (listing + key + sort order), and the single notice for a run
// in which most checks failed. A failed or unchecked listing says nothing
// about a rank, so it never yields a rank notice and never serves as the
// "before" of one. Every text is UTF-8, as the history keeps it.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/words.h"
#include "history/records.h"

namespace board {

// What a notice calls things (UTF-8): categories and tabs by name, goods by
// "name（shop）" (board::goods_caption) where the board knows them, else by id.
struct NoticeNames {
    ListingNames listings;
    std::map<std::string, std::string> goods;  // Goods ID -> caption
};

struct NoticeThresholds {
    int move_by = 10;  // places the own goods must move, up or down
    int top_n = 20;    // the first screen a buyer sees
    bool operator==(const NoticeThresholds&) const = default;
};

// The kinds as the history stores them.
namespace notice_kind {
inline constexpr std::string_view rank_move = "rank_move";
inline constexpr std::string_view entered_top = "entered_top";
inline constexpr std::string_view left_top = "left_top";
inline constexpr std::string_view entered_1000 = "entered_1000";
inline constexpr std::string_view left_1000 = "left_1000";
inline constexpr std::string_view overtaken = "overtaken";
inline constexpr std::string_view checks_failing = "checks_failing";
}  // namespace notice_kind

// The listing was read: found, or not among the first 1000.
bool is_successful(const history::Check& check);

// Every goods item of the check was read (found, or not among the first 1000).
bool fully_read(const history::Check& check);

// The check's row for a goods item, or null.
const history::GoodsResult* find_goods(const history::Check& check, std::string_view goods_id);

// The row of a goods item whose listing was read for it (found, or not among
// the first 1000), or null: a failed or unchecked row says nothing of a rank.
const history::GoodsResult* read_goods(const history::Check& check, std::string_view goods_id);

// "辣条 · 销量", "类目 休闲零食", "爱逛街 今日推荐", "新品" (ids where no name is known).
std::string cell_label(const history::Check& check, const ListingNames& names = {});

// "第37名", or 千名外 for a goods item of a read listing without a rank.
std::string rank_text(std::optional<int> rank);

// "▲3" when the rank number fell (the goods moved up three places), "▼15"
// when it rose, empty when it stayed.
std::string move_text(int before, int after);

// Notices for one cell. `previous` holds, for each goods item, its row of the
// cell's last check before `current` that was read for it (see baseline());
// only goods items read in both are compared. For each own goods item at most one rank notice, the
// weightiest that applies: entering or leaving the first 1000, then entering
// or leaving the top top_n, then a move of at least move_by places. Besides,
// one notice per competitor that is now ahead of an own goods item and was
// not before (a competitor found while the own goods is not counts as ahead).
// Goods missing from either check have no baseline and are passed over.
// A competitor is named by `names` ("竞品 辣条大礼包（某店）"), as are the
// cell's listing and, with several own goods, the one that moved.
std::vector<history::Notice> cell_notices(const std::optional<history::Check>& previous,
                                          const history::Check& current,
                                          const NoticeThresholds& thresholds,
                                          const NoticeNames& names = {});

struct CellChange {
    std::optional<history::Check> previous;  // the cell's baseline (see baseline())
    history::Check current;                  // the run's check of the cell
};

// Notices for a whole run of a board: the "checks failing" notice, if any,
// ahead of each cell's notices.
std::vector<history::Notice> run_notices(const std::vector<CellChange>& cells,
                                         const NoticeThresholds& thresholds);

// A run's notices in a few lines, for a tray message: "辣条看板：N 条变动"
// (the board's name, UTF-8, when given) and the three largest moves (or the
// first three notices when none moved), never every line.
std::string tray_text(const std::vector<history::Notice>& notices, std::string_view board = {});

// The one notice of a run whose checks mostly could not be read: more than
// half of them failed or were not checked. It names the commonest reason.
std::optional<history::Notice> failing_notice(const std::vector<history::Check>& run);

}  // namespace board
