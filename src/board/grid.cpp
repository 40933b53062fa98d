#include "board/grid.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <numeric>

#include "board/notices.h"
#include "board/notices_grid.h"
#include "board/run_status_text.h"
#include "board/words.h"
#include "text/codepage.h"

namespace board {

namespace {

std::string clock_text(std::int64_t ms) {
    return local_time_text(ms, "%m-%d %H:%M");
}

// The goods item's rank in a read check: nullopt when it is not among the
// first 1000 (or absent from the check).
std::optional<int> rank_in(const history::Check& check, const std::string& goods) {
    const history::GoodsResult* row = find_goods(check, goods);
    return row == nullptr ? std::nullopt : row->rank;
}

bool moved_up(const std::string& change) {
    return change.starts_with("▲") || change == "新进";
}

bool moved_down(const std::string& change) {
    return change.starts_with("▼") || change == "跌出";
}

// `checks` end with one read for `goods`.
CellView rank_cell(const std::vector<history::Check>& checks, const CellData& cell,
                   const std::string& goods) {
    CellView view;
    view.value = rank_in(checks.back(), goods);
    view.text = view.value ? "第" + std::to_string(*view.value) + "名" : std::string(kNotInTopWord);
    const std::string change = latest_change_text(checks, goods);
    if (!change.empty())
        view.text += " " + change;
    view.fell = moved_down(change);
    view.tone = moved_up(change) ? CellTone::good : view.fell ? CellTone::bad : CellTone::plain;
    std::optional<int> best = best_rank(checks, goods);
    if (const auto kept = cell.best.find(goods); kept != cell.best.end())
        best = best ? std::min(*best, kept->second) : kept->second;
    if (best)
        view.text += "（最好第" + std::to_string(*best) + "名）";
    return view;
}

// The own goods against the competitor in words: ahead is good news.
CellView difference_cell(const std::vector<history::Check>& checks, const std::string& own,
                         const std::string& competitor) {
    const auto a = rank_in(checks.back(), own);
    const auto b = rank_in(checks.back(), competitor);
    CellView view;
    view.fell = moved_down(latest_change_text(checks, own));
    if (!a || !b) {
        view.text = a ? "领先（竞品千名外）" : (b ? "落后（本店千名外）" : "均在千名外");
        view.tone = a ? CellTone::good : (b ? CellTone::bad : CellTone::plain);
        return view;
    }
    const int d = *a - *b;
    view.value = d;
    view.text = (d < 0 ? "领先 " : "落后 ") + std::to_string(std::abs(d)) + " 名";
    view.tone = d < 0 ? CellTone::good : CellTone::bad;
    return view;
}

std::vector<std::string> viewed_goods(const std::string& own, const std::string& competitor,
                                      GridMode mode) {
    switch (mode) {
        case GridMode::own:
            return {own};
        case GridMode::competitor:
            return {competitor};
        case GridMode::difference:
            break;
    }
    return {own, competitor};
}

// The first viewed goods item the check was not read for, or null.
const history::GoodsResult* unread_row(const history::Check& check,
                                       const std::vector<std::string>& goods) {
    for (const std::string& id : goods) {
        if (read_goods(check, id) == nullptr) {
            static const history::GoodsResult kMissing{};
            const history::GoodsResult* row = find_goods(check, id);
            return row != nullptr ? row : &kMissing;
        }
    }
    return nullptr;
}

CellView value_of(const std::vector<history::Check>& checks, const CellData& cell,
                  const std::string& own, const std::string& competitor, GridMode mode) {
    switch (mode) {
        case GridMode::own:
            return rank_cell(checks, cell, own);
        case GridMode::competitor:
            return rank_cell(checks, cell, competitor);
        case GridMode::difference:
            break;
    }
    return difference_cell(checks, own, competitor);
}

// The checks up to and including the last one read for every viewed goods item.
std::vector<history::Check> up_to_last_read(const std::vector<history::Check>& checks,
                                            const std::vector<std::string>& goods) {
    std::vector<history::Check> out = checks;
    while (!out.empty() && unread_row(out.back(), goods) != nullptr)
        out.pop_back();
    return out;
}

}  // namespace

std::string sort_caption(ranking::Sort sort) {
    return std::string(sort_word(sort));
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
    const ListingNames names = listing_names(board);
    const auto add_listing = [&](ranking::QueryKind kind, const std::string& id) {
        const CellKey key = cell_key({kind, id, std::nullopt});
        add_row(listing_label(key.listing, key.key, names), {key});
    };
    for (const std::string& id : board.category_ids)
        add_listing(ranking::QueryKind::category, id);
    if (board.tab_id)
        add_listing(ranking::QueryKind::ishopping, *board.tab_id);
    if (board.new_goods)
        add_listing(ranking::QueryKind::new_goods, {});
    return layout;
}

CellView cell_view(const CellData& cell, const std::string& own, const std::string& competitor,
                   GridMode mode) {
    const std::vector<history::Check>& checks = cell.recent;
    if (checks.empty()) {
        CellView never;
        never.text = kNotCheckedWord;
        never.tooltip = "尚无检查记录";
        never.not_checked = true;
        return never;
    }
    const history::Check& latest = checks.back();
    const std::vector<std::string> goods = viewed_goods(own, competitor, mode);
    const history::GoodsResult* unread = unread_row(latest, goods);
    if (unread == nullptr) {
        CellView view = value_of(checks, cell, own, competitor, mode);
        view.tooltip = "检查于 " + clock_text(latest.time_ms);
        return view;
    }
    const history::Outcome status =
        unread->goods_id.empty() ? latest.outcome : history::status_of(latest, *unread);
    CellView view;
    view.not_checked = status == history::Outcome::not_checked;
    view.text = view.not_checked ? kNotCheckedWord : kFailedWord;
    view.tooltip = unread->reason.empty() ? latest.reason : unread->reason;
    view.failed = true;
    const std::vector<history::Check> read = up_to_last_read(checks, goods);
    if (read.empty())
        return view;
    // The last good value stays visible beside the failure, with its time.
    view.text += " · 上次" + value_of(read, cell, own, competitor, mode).text + "（" +
                 clock_text(read.back().time_ms) + "）";
    view.tooltip += "\n上次成功：" + clock_text(read.back().time_ms);
    view.stale = true;
    return view;
}

std::vector<std::size_t> sorted_rows(const std::vector<std::optional<int>>& values,
                                     bool descending) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const auto& x = values[a];
        const auto& y = values[b];
        if (!x || !y)
            return x.has_value() && !y.has_value();
        return descending ? *x > *y : *x < *y;
    });
    return order;
}

bool row_shown(const std::vector<CellView>& row, RowFilter filter) {
    if (filter == RowFilter::all)
        return true;
    return std::any_of(row.begin(), row.end(), [filter](const CellView& cell) {
        return filter == RowFilter::fell ? cell.fell : cell.failed;
    });
}

}  // namespace board
