#include "board/run_summary.h"

#include <optional>

#include "board/notices.h"
#include "board/notices_grid.h"
#include "board/words.h"

namespace board {

namespace {

void count_move(RunSummary& out, std::optional<int> before, std::optional<int> after) {
    if (before && after)
        (*after < *before ? out.rose : *after > *before ? out.fell : out.held) += 1;
    else if (after)
        ++out.entered;
    else if (before)
        ++out.left;
    else
        ++out.held;  // still outside the first 1000
}

void count_goods(RunSummary& out, const std::vector<history::Check>& checks,
                 const std::string& id) {
    const history::Check& latest = checks.back();
    const history::GoodsResult* now = read_goods(latest, id);
    if (now == nullptr) {
        const history::GoodsResult* row = find_goods(latest, id);
        const history::Outcome status =
            row == nullptr ? latest.outcome : history::status_of(latest, *row);
        (status == history::Outcome::not_checked ? out.not_checked : out.failed) += 1;
        return;
    }
    if (now->rank && *now->rank <= 10)
        ++out.top10;
    if (now->rank && *now->rank <= 20)
        ++out.top20;
    const std::vector<history::Check> before(checks.begin(), checks.end() - 1);
    const std::optional<history::Check> base = baseline(before, latest);
    const history::GoodsResult* then = base ? read_goods(*base, id) : nullptr;
    if (then != nullptr)
        count_move(out, then->rank, now->rank);
}

}  // namespace

RunSummary run_summary(const std::vector<const CellData*>& cells,
                       const std::vector<std::string>& own_ids) {
    RunSummary out;
    for (const CellData* cell : cells) {
        for (const std::string& id : own_ids) {
            if (cell == nullptr || cell->recent.empty())
                ++out.not_checked;
            else
                count_goods(out, cell->recent, id);
        }
    }
    return out;
}

std::string summary_text(const RunSummary& s) {
    auto n = [](int v) { return std::to_string(v); };
    return "上升 " + n(s.rose) + " · 下降 " + n(s.fell) + " · 持平 " + n(s.held) + " · 新进千名 " +
           n(s.entered) + " · 跌出千名 " + n(s.left) + " · " + std::string(kOwnWord) + "前10名 " +
           n(s.top10) + " 个、前20名 " + n(s.top20) + " 个 · " + std::string(kFailedWord) + " " +
           n(s.failed) + " · " + std::string(kNotCheckedWord) + " " + n(s.not_checked);
}

}  // namespace board
