#include "board/board_log.h"

#include <algorithm>
#include <set>

#include "board/notices_grid.h"

namespace board {

namespace {

// Newest checks read per cell at first; more only while some goods item
// lacks its two last reads (a run of failures).
constexpr std::size_t kFirstRead = 4;
constexpr std::size_t kLongestRead = 200;
// The grid needs the last two reads of a goods item (the value and its change).
constexpr int kReadsKept = 2;

history::CheckFilter cell_filter(const std::string& board, const CellKey& key, std::size_t limit) {
    history::CheckFilter filter;
    filter.board = board;
    filter.listing = key.listing;
    filter.key = key.key;
    filter.sort = key.sort;
    filter.newest_first = true;
    filter.limit = limit;
    return filter;
}

// Each goods item named in the checks has its two last reads among them.
bool enough(const std::vector<history::Check>& newest_last) {
    std::map<std::string, int> reads;
    std::set<std::string> named;
    for (const history::Check& check : newest_last) {
        for (const history::GoodsResult& row : check.goods) {
            named.insert(row.goods_id);
            if (read_goods(check, row.goods_id) != nullptr)
                ++reads[row.goods_id];
        }
    }
    return std::all_of(named.begin(), named.end(),
                       [&](const std::string& id) { return reads[id] >= kReadsKept; });
}

}  // namespace

std::vector<CellKey> board_cells(const GridLayout& layout) {
    std::vector<CellKey> cells;
    for (const auto& row : layout.cells) {
        for (const auto& key : row) {
            if (key)
                cells.push_back(*key);
        }
    }
    return cells;
}

BoardLog::BoardLog(std::string board_name, history::Store* store)
    : board_(std::move(board_name)), store_(store) {}

std::string BoardLog::read_cell(const CellKey& key, CellData& into) const {
    into.recent.clear();
    for (std::size_t limit = kFirstRead;; limit *= 4) {
        std::vector<history::Check> newest_first;
        const auto read = store_->for_each_check(cell_filter(board_, key, limit),
                                                 [&](const history::Check& check) {
                                                     newest_first.push_back(check);
                                                     return true;
                                                 });
        if (!read)
            return read.error().message;
        into.recent.assign(newest_first.rbegin(), newest_first.rend());
        if (newest_first.size() < limit || limit >= kLongestRead || enough(into.recent))
            break;
    }
    trim(into);
    return {};
}

std::string BoardLog::load(const std::vector<CellKey>& cells) {
    cells_.clear();
    count_ = 0;
    if (store_ == nullptr)
        return {};
    const auto count = store_->count_checks(board_);
    if (!count)
        return count.error().message;
    count_ = count.value();
    const auto best = store_->best_ranks(board_);
    if (!best)
        return best.error().message;
    for (const history::CellBest& b : best.value())
        cells_[CellKey{b.listing, b.key, b.sort}].best[b.goods_id] = b.best_rank;
    for (const CellKey& key : cells) {
        if (std::string problem = read_cell(key, cells_[key]); !problem.empty())
            return problem;
    }
    return {};
}

std::string BoardLog::reload(const CellKey& key) {
    if (store_ == nullptr)
        return {};
    if (const auto count = store_->count_checks(board_))
        count_ = count.value();
    if (const auto best = store_->best_ranks(board_)) {
        CellData& data = cells_[key];
        data.best.clear();
        for (const history::CellBest& b : best.value()) {
            if (CellKey{b.listing, b.key, b.sort} == key)
                data.best[b.goods_id] = b.best_rank;
        }
    }
    return read_cell(key, cells_[key]);
}

// Drops the checks older than the oldest one the grid still needs.
void BoardLog::trim(CellData& data) const {
    std::vector<history::Check>& recent = data.recent;
    std::size_t keep_from = recent.empty() ? 0 : recent.size() - 1;
    std::map<std::string, int> reads;
    for (std::size_t i = recent.size(); i-- > 0;) {
        for (const history::GoodsResult& row : recent[i].goods) {
            if (read_goods(recent[i], row.goods_id) != nullptr &&
                reads[row.goods_id]++ < kReadsKept)
                keep_from = std::min(keep_from, i);
        }
    }
    if (recent.size() > kLongestRead)
        keep_from = std::max(keep_from, recent.size() - kLongestRead);
    recent.erase(recent.begin(), recent.begin() + static_cast<std::ptrdiff_t>(keep_from));
}

std::vector<history::Notice> BoardLog::notices_for(const history::Check& check,
                                                   const NoticeThresholds& thresholds,
                                                   const NoticeNames& names) const {
    const CellData& data = cell(cell_key(check));
    std::vector<history::Notice> notices =
        cell_notices(baseline(data.recent, check), check, thresholds, names);
    for (history::Notice& n : notices)
        n.board = board_;
    return notices;
}

std::optional<history::Error> BoardLog::record(history::Check& check,
                                               std::vector<history::Notice>& notices) {
    if (store_ != nullptr) {
        auto added = store_->record_check(check, notices);
        if (!added) {
            if (added.error().code != history::ErrorCode::lease_lost)
                keep(check);
            return added.error();
        }
        check.id = added.value();
    }
    keep(check);
    return std::nullopt;
}

void BoardLog::keep(history::Check check) {
    CellData& data = cells_[cell_key(check)];
    for (const history::GoodsResult& row : check.goods) {
        if (!row.rank || read_goods(check, row.goods_id) == nullptr)
            continue;
        const auto known = data.best.find(row.goods_id);
        if (known == data.best.end() || *row.rank < known->second)
            data.best[row.goods_id] = *row.rank;
    }
    data.recent.push_back(std::move(check));
    trim(data);
    ++count_;
}

const CellData& BoardLog::cell(const CellKey& key) const {
    static const CellData kNone;
    const auto it = cells_.find(key);
    return it == cells_.end() ? kNone : it->second;
}

}  // namespace board
