#include "board/grid.h"

#include <ctime>

#include "board/notices.h"
#include "board/notices_grid.h"
#include "text/codepage.h"

namespace board {

namespace {

std::string clock_text(std::int64_t ms) {
    const std::time_t seconds = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char out[32];
    std::strftime(out, sizeof out, "%m-%d %H:%M", &local);
    return out;
}

// The goods item's rank in a read check: nullopt when it is not among the
// first 1000 (or absent from the check).
std::optional<int> rank_in(const history::Check& check, const std::string& goods) {
    const history::GoodsResult* row = find_goods(check, goods);
    return row == nullptr ? std::nullopt : row->rank;
}

std::string rank_cell(const std::vector<history::Check>& checks, const std::string& goods) {
    const history::Check& latest = checks.back();
    const std::optional<int> rank = rank_in(latest, goods);
    std::string text = rank ? "第" + std::to_string(*rank) + "名" : std::string("千名外");
    const std::string change = latest_change_text(checks, goods);
    if (!change.empty())
        text += " " + change;
    if (const auto best = best_rank(checks, goods))
        text += " (最好第" + std::to_string(*best) + "名)";
    return text;
}

std::string difference_cell(const history::Check& check, const std::string& own,
                            const std::string& competitor) {
    const auto a = rank_in(check, own);
    const auto b = rank_in(check, competitor);
    if (!a || !b)
        return a ? "领先" : (b ? "落后" : "均在千名外");
    const int d = *a - *b;
    return d > 0 ? "+" + std::to_string(d) : std::to_string(d);
}

std::string value_of(const std::vector<history::Check>& checks, const std::string& own,
                     const std::string& competitor, GridMode mode) {
    switch (mode) {
        case GridMode::own:
            return rank_cell(checks, own);
        case GridMode::competitor:
            return rank_cell(checks, competitor);
        case GridMode::difference:
            break;
    }
    return difference_cell(checks.back(), own, competitor);
}

// The checks up to and including the last read one.
std::vector<history::Check> up_to_last_read(const std::vector<history::Check>& checks) {
    std::vector<history::Check> out = checks;
    while (!out.empty() && !is_successful(out.back()))
        out.pop_back();
    return out;
}

}  // namespace

std::string sort_caption(ranking::Sort sort) {
    static const char* const kCaptions[] = {"综合", "销量", "评分", "价格低", "价格高"};
    return kCaptions[static_cast<int>(sort)];
}

GridLayout grid_layout(const Board& board) {
    GridLayout layout;
    layout.columns = board.sorts;
    const std::size_t width = std::max<std::size_t>(1, board.sorts.size());
    auto add_row = [&](std::string label, std::vector<std::optional<CellKey>> cells) {
        cells.resize(width);
        layout.rows.push_back(std::move(label));
        layout.cells.push_back(std::move(cells));
    };
    for (const std::string& keyword : board.keywords) {
        std::vector<std::optional<CellKey>> cells;
        for (ranking::Sort sort : board.sorts)
            cells.push_back(cell_key({ranking::QueryKind::keyword, keyword, sort}));
        add_row(text::gbk_to_utf8(keyword), std::move(cells));
    }
    for (const std::string& id : board.category_ids)
        add_row("类目 " + id, {cell_key({ranking::QueryKind::category, id, std::nullopt})});
    if (board.tab_id)
        add_row("爱逛街 " + *board.tab_id,
                {cell_key({ranking::QueryKind::ishopping, *board.tab_id, std::nullopt})});
    if (board.new_goods)
        add_row("新品", {cell_key({ranking::QueryKind::new_goods, {}, std::nullopt})});
    return layout;
}

CellView cell_view(const std::vector<history::Check>& checks, const std::string& own,
                   const std::string& competitor, GridMode mode) {
    if (checks.empty())
        return {};
    const history::Check& latest = checks.back();
    if (is_successful(latest))
        return {value_of(checks, own, competitor, mode), "检查于 " + clock_text(latest.time_ms),
                false};
    const std::string head = latest.outcome == history::Outcome::failed ? "失败" : "未检查";
    CellView view{head, latest.reason, false};
    const std::vector<history::Check> read = up_to_last_read(checks);
    if (read.empty())
        return view;
    // The last good value stays visible, greyed, with its time.
    view.text += " · 上次" + value_of(read, own, competitor, mode) + " (" +
                 clock_text(read.back().time_ms) + ")";
    view.tooltip += "\n上次成功：" + clock_text(read.back().time_ms);
    view.stale = true;
    return view;
}

}  // namespace board
