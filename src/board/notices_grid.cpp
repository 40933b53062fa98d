#include "board/notices_grid.h"

#include <algorithm>

#include "board/notices.h"

namespace board {

namespace {

// The last successful check among the first `count` of the list.
std::optional<history::Check> last_successful_of(const std::vector<history::Check>& checks,
                                                 std::size_t count) {
    const auto from = checks.rend() - static_cast<std::ptrdiff_t>(count);
    const auto last = std::find_if(from, checks.rend(), is_successful);
    if (last == checks.rend()) {
        return std::nullopt;
    }
    return *last;
}

}  // namespace

std::optional<history::Check> last_successful(const std::vector<history::Check>& checks) {
    return last_successful_of(checks, checks.size());
}

std::optional<history::Check> baseline(const std::vector<history::Check>& before,
                                       const history::Check& current) {
    history::Check base = current;
    base.goods.clear();
    for (const history::GoodsResult& goods : current.goods) {
        for (auto it = before.rbegin(); it != before.rend(); ++it) {
            if (const history::GoodsResult* row = read_goods(*it, goods.goods_id)) {
                history::GoodsResult kept = *row;
                kept.status = history::status_of(*it, *row);
                base.goods.push_back(std::move(kept));
                break;
            }
        }
    }
    if (base.goods.empty()) {
        return std::nullopt;
    }
    return base;
}

std::string change_text(const std::optional<history::Check>& previous,
                        const history::Check& current, std::string_view goods_id) {
    if (!previous) {
        return {};
    }
    const history::GoodsResult* before = read_goods(*previous, goods_id);
    const history::GoodsResult* after = read_goods(current, goods_id);
    if (before == nullptr || after == nullptr) {
        return {};
    }
    if (!before->rank && after->rank) {
        return "新进";
    }
    if (before->rank && !after->rank) {
        return "跌出";
    }
    if (!before->rank) {
        return {};
    }
    return move_text(*before->rank, *after->rank);
}

std::string latest_change_text(const std::vector<history::Check>& checks,
                               std::string_view goods_id) {
    if (checks.empty()) {
        return {};
    }
    for (auto it = checks.rbegin() + 1; it < checks.rend(); ++it) {
        if (read_goods(*it, goods_id) != nullptr) {
            return change_text(*it, checks.back(), goods_id);
        }
    }
    return {};
}

std::optional<int> best_rank(const std::vector<history::Check>& checks, std::string_view goods_id) {
    std::optional<int> best;
    for (const auto& check : checks) {
        const history::GoodsResult* row = read_goods(check, goods_id);
        if (row != nullptr && row->rank && (!best || *row->rank < *best)) {
            best = row->rank;
        }
    }
    return best;
}

}  // namespace board
