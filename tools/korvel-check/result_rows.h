#pragma once
// One output row per (goods item, listing, sort order), all text UTF-8: the
// own goods' rows first, then the competitors', each goods item's rows in
// listing order.
#include <optional>
#include <string>
#include <vector>

#include "board/board.h"
#include "board/check_report.h"
#include "check_plan.h"
#include "ranking/run_outcome.h"

namespace cli {

struct ResultRow {
    std::string goods_id;  // the Goods ID; the input as typed when no id was got from it
    std::string listing;   // keyword, category, tab or new
    std::string key;       // keyword, category id or tab id; empty for new goods
    std::string sort;      // the sort's name; empty for listings without sort orders
    ranking::RunStatus status = ranking::RunStatus::failed;
    int rank = 0;        // found only
    std::string reason;  // failed only: the reason the window shows, in UTF-8
};

// How each listing of a run ended, by check index; empty when the run never
// reported the check.
using Reports = std::vector<std::optional<board::CheckReport>>;

// A goods item of the output: its label and where its outcomes are.
struct GoodsColumn {
    std::string label;                  // the Goods ID, or the input as typed without one
    std::optional<std::size_t> target;  // index into the run's goods ids; none: no id was got
};

// The Goods ID each input gave (empty: none), own goods and competitors apart.
struct ResolvedIds {
    std::vector<std::string> own;
    std::vector<std::string> competitors;
};

// Puts each Goods ID into the board once (an id given as own goods and as a
// competitor counts as own goods) and returns the output's goods in the
// order given, each pointing at its id in board::goods_ids(board).
std::vector<GoodsColumn> place_goods(const CheckPlan& plan, const ResolvedIds& ids,
                                     board::Board& board);

// The columns of a saved board's goods: own goods, then competitors.
std::vector<GoodsColumn> board_columns(const board::Board& board);

ResultRow result_row(const std::string& goods_id, const ranking::Listing& listing,
                     const ranking::RunOutcome& outcome);

// The rows goods by goods. `reports[l]` is how listing l ended, if the run
// reported it; a listing without a report or reported not checked is a
// failed row with the reason 未检查, never a row "not in the top 1000".
std::vector<ResultRow> goods_major_rows(
    const std::vector<GoodsColumn>& columns, const std::vector<ranking::Listing>& listings,
    const std::vector<std::optional<board::CheckReport>>& reports);

// 0 when every row was read, 2 when any failed.
int exit_code_of(const std::vector<ResultRow>& rows);

}  // namespace cli
