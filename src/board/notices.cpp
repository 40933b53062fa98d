#include "board/notices.h"

#include <algorithm>
#include <cstdlib>

#include "board/words.h"

namespace board {
namespace {

using history::Check;
using history::GoodsResult;
using history::Notice;
using history::Role;

bool same_cell(const Check& a, const Check& b) {
    return a.board == b.board && a.listing == b.listing && a.key == b.key && a.sort == b.sort;
}

// A competitor is ahead when it is found and the own goods is not, or when
// its rank is better.
bool ahead(const GoodsResult& competitor, const GoodsResult& own) {
    return competitor.rank && (!own.rank || *competitor.rank < *own.rank);
}

struct CellContext {
    const Check& current;
    std::string label;
};

Notice notice_for(const CellContext& cell, const std::string& goods_id, std::string_view kind,
                  std::string before, std::string after, const std::string& message) {
    Notice notice;
    notice.board = cell.current.board;
    notice.time_ms = cell.current.time_ms;
    notice.listing = cell.current.listing;
    notice.key = cell.current.key;
    notice.sort = cell.current.sort;
    notice.goods_id = goods_id;
    notice.kind = std::string(kind);
    notice.before = std::move(before);
    notice.after = std::move(after);
    notice.message = cell.label + "：" + message;
    return notice;
}

// The weightiest rank change of one own goods item, if any.
std::optional<Notice> rank_notice(const CellContext& cell, const std::string& goods_id,
                                  std::optional<int> before, std::optional<int> after,
                                  const NoticeThresholds& thresholds) {
    std::string_view kind;
    std::string headline;
    std::string change;
    if (before && !after) {
        kind = notice_kind::left_1000;
        change = "跌出前1000名";
    } else if (!before && after) {
        kind = notice_kind::entered_1000;
        change = "新进前1000名";
    } else if (!before || !after || *before == *after) {
        return std::nullopt;
    } else {
        const std::string top = std::to_string(thresholds.top_n);
        const bool was_top = *before <= thresholds.top_n;
        const bool is_top = *after <= thresholds.top_n;
        change = move_text(*before, *after);
        if (!was_top && is_top) {
            kind = notice_kind::entered_top;
            headline = "进入前" + top + "名，";
        } else if (was_top && !is_top) {
            kind = notice_kind::left_top;
            headline = "跌出前" + top + "名，";
        } else if (std::abs(*after - *before) >= thresholds.move_by) {
            kind = notice_kind::rank_move;
        } else {
            return std::nullopt;
        }
    }
    const std::string from = rank_text(before);
    const std::string to = rank_text(after);
    return notice_for(cell, goods_id, kind, from, to,
                      headline + from + " → " + to + "（" + change + "）");
}

std::string named(const NoticeNames& names, const std::string& goods_id) {
    const auto found = names.goods.find(goods_id);
    return found == names.goods.end() ? goods_id : found->second;
}

void overtaken_notices(const CellContext& cell, const Check& previous, const GoodsResult& own,
                       const GoodsResult& own_before, const NoticeNames& names,
                       std::vector<Notice>& out) {
    for (const auto& competitor : cell.current.goods) {
        if (competitor.role != Role::competitor) {
            continue;
        }
        const GoodsResult* competitor_before = read_goods(previous, competitor.goods_id);
        if (competitor_before == nullptr || !read_goods(cell.current, competitor.goods_id) ||
            !ahead(competitor, own) || ahead(*competitor_before, own_before)) {
            continue;
        }
        const std::string now = rank_text(competitor.rank);
        out.push_back(notice_for(cell, competitor.goods_id, notice_kind::overtaken,
                                 rank_text(competitor_before->rank), now,
                                 std::string(kCompetitorWord) + " " +
                                     named(names, competitor.goods_id) + " " + now + "，已排在" +
                                     std::string(kOwnWord) + "前面（" + std::string(kOwnWord) +
                                     rank_text(own.rank) + "）"));
    }
}

}  // namespace

bool is_successful(const Check& check) {
    return check.outcome == history::Outcome::found ||
           check.outcome == history::Outcome::not_in_top_1000;
}

const GoodsResult* find_goods(const Check& check, std::string_view goods_id) {
    const auto row = std::find_if(check.goods.begin(), check.goods.end(),
                                  [&](const GoodsResult& g) { return g.goods_id == goods_id; });
    return row == check.goods.end() ? nullptr : &*row;
}

bool fully_read(const Check& check) {
    return is_successful(check) &&
           std::all_of(check.goods.begin(), check.goods.end(), [&](const GoodsResult& g) {
               return read_goods(check, g.goods_id) != nullptr;
           });
}

const GoodsResult* read_goods(const Check& check, std::string_view goods_id) {
    const GoodsResult* row = find_goods(check, goods_id);
    if (row == nullptr)
        return nullptr;
    const history::Outcome status = history::status_of(check, *row);
    return status == history::Outcome::found || status == history::Outcome::not_in_top_1000
               ? row
               : nullptr;
}

std::string cell_label(const Check& check, const ListingNames& names) {
    return board::cell_label(check.listing, check.key, check.sort, names);
}

std::string move_text(int before, int after) {
    if (before == after) {
        return {};
    }
    return (after < before ? "▲" : "▼") + std::to_string(std::abs(after - before));
}

std::string rank_text(std::optional<int> rank) {
    return rank ? "第" + std::to_string(*rank) + "名" : std::string(kNotInTopWord);
}

std::vector<Notice> cell_notices(const std::optional<Check>& previous, const Check& current,
                                 const NoticeThresholds& thresholds, const NoticeNames& names) {
    std::vector<Notice> out;
    if (!previous || !same_cell(*previous, current)) {
        return out;
    }
    const auto own_count = std::count_if(current.goods.begin(), current.goods.end(),
                                         [](const GoodsResult& g) { return g.role == Role::own; });
    for (const auto& own : current.goods) {
        const GoodsResult* own_before = read_goods(*previous, own.goods_id);
        if (own.role != Role::own || own_before == nullptr ||
            read_goods(current, own.goods_id) == nullptr) {
            continue;
        }
        // Several own goods in one cell: say which one moved.
        const CellContext cell{current, cell_label(current, names.listings) +
                                            (own_count > 1 ? " · " + std::string(kOwnWord) + " " +
                                                                 named(names, own.goods_id)
                                                           : "")};
        if (auto notice = rank_notice(cell, own.goods_id, own_before->rank, own.rank, thresholds)) {
            out.push_back(*std::move(notice));
        }
        overtaken_notices(cell, *previous, own, *own_before, names, out);
    }
    return out;
}

}  // namespace board
