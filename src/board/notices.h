#pragma once
// Change notices: what changed for the seller between two successful checks
// of one cell (listing + key + sort order), and the single notice for a run
// in which most checks failed. A failed or unchecked listing says nothing
// about a rank, so it never yields a rank notice and never serves as the
// "before" of one. Every text is UTF-8, as the history keeps it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "history/records.h"

namespace board {

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

// The check's row for a goods item, or null.
const history::GoodsResult* find_goods(const history::Check& check, std::string_view goods_id);

// "辣条 · 销量", "类目 1234", "爱逛街 12", "新品".
std::string cell_label(const history::Check& check);

// "第37名", or "前1000名以外" for a goods item of a read listing without a rank.
std::string rank_text(std::optional<int> rank);

// "▲3" when the rank number fell (the goods moved up three places), "▼15"
// when it rose, empty when it stayed.
std::string move_text(int before, int after);

// Notices for one cell. `previous` is the cell's last successful check
// before `current`; nothing comes out unless both are successful checks of
// the same cell. For each own goods item at most one rank notice, the
// weightiest that applies: entering or leaving the first 1000, then entering
// or leaving the top top_n, then a move of at least move_by places. Besides,
// one notice per competitor that is now ahead of an own goods item and was
// not before (a competitor found while the own goods is not counts as ahead).
// Goods missing from either check have no baseline and are passed over.
std::vector<history::Notice> cell_notices(const std::optional<history::Check>& previous,
                                          const history::Check& current,
                                          const NoticeThresholds& thresholds);

struct CellChange {
    std::optional<history::Check> previous;  // last successful check of the cell
    history::Check current;                  // the run's check of the cell
};

// Notices for a whole run of a board. When more than half of the listings
// the run tried (read or failed; not the unchecked ones) failed, the run
// leaves one "checks failing" notice naming the commonest reason, ahead of
// the rank notices of the cells that were read.
std::vector<history::Notice> run_notices(const std::vector<CellChange>& cells,
                                         const NoticeThresholds& thresholds);

}  // namespace board
