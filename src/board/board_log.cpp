#include "board/board_log.h"

#include "board/notices_grid.h"

namespace board {

BoardLog::BoardLog(std::string board_name, history::Store* store)
    : board_(std::move(board_name)), store_(store) {}

std::string BoardLog::load() {
    cells_.clear();
    count_ = 0;
    if (store_ == nullptr)
        return {};
    history::CheckFilter filter;
    filter.board = board_;
    auto checks = store_->checks(filter);
    if (!checks)
        return checks.error().message;
    for (history::Check& check : std::move(checks).value()) {
        cells_[cell_key(check)].push_back(std::move(check));
        ++count_;
    }
    return {};
}

std::string BoardLog::add(history::Check check) {
    std::string problem;
    if (store_ != nullptr) {
        const auto added = store_->add_check(check);
        if (added)
            check.id = added.value();
        else
            problem = added.error().message;
    }
    cells_[cell_key(check)].push_back(std::move(check));
    ++count_;
    return problem;
}

const std::vector<history::Check>& BoardLog::cell(const CellKey& key) const {
    static const std::vector<history::Check> kNone;
    const auto it = cells_.find(key);
    return it == cells_.end() ? kNone : it->second;
}

std::vector<history::Notice> BoardLog::run_notices(const std::vector<history::Check>& run,
                                                   const NoticeThresholds& thresholds) const {
    std::vector<CellChange> changes;
    for (const history::Check& current : run) {
        std::vector<history::Check> before;
        for (const history::Check& c : cell(cell_key(current))) {
            if (c.time_ms < current.time_ms)
                before.push_back(c);
        }
        changes.push_back({last_successful(before), current});
    }
    std::vector<history::Notice> notices = board::run_notices(changes, thresholds);
    for (history::Notice& n : notices)
        n.board = board_;
    return notices;
}

}  // namespace board
