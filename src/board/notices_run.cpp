#include <algorithm>
#include <utility>

#include "board/notices.h"

namespace board {
namespace {

using history::Check;
using history::Notice;
using history::Outcome;

// The reason most failed checks give; on a tie the one met first.
std::pair<std::string, int> commonest_reason(const std::vector<CellChange>& cells) {
    std::vector<std::pair<std::string, int>> counts;
    for (const auto& cell : cells) {
        if (cell.current.outcome != Outcome::failed) {
            continue;
        }
        const std::string reason = cell.current.reason.empty() ? "原因不明" : cell.current.reason;
        const auto known = std::find_if(counts.begin(), counts.end(),
                                        [&](const auto& entry) { return entry.first == reason; });
        if (known == counts.end()) {
            counts.emplace_back(reason, 1);
        } else {
            ++known->second;
        }
    }
    // max_element keeps the first of equal counts.
    return *std::max_element(counts.begin(), counts.end(),
                             [](const auto& a, const auto& b) { return a.second < b.second; });
}

std::optional<Notice> failing_notice(const std::vector<CellChange>& cells) {
    int tried = 0;
    int failed = 0;
    std::int64_t last_ms = 0;
    for (const auto& cell : cells) {
        const Outcome outcome = cell.current.outcome;
        tried += outcome == Outcome::not_checked ? 0 : 1;
        failed += outcome == Outcome::failed ? 1 : 0;
        last_ms = std::max(last_ms, cell.current.time_ms);
    }
    if (failed * 2 <= tried) {
        return std::nullopt;
    }
    const auto [reason, times] = commonest_reason(cells);
    Notice notice;
    notice.board = cells.front().current.board;
    notice.time_ms = last_ms;
    notice.sort = history::Sort::none;
    notice.kind = std::string(notice_kind::checks_failing);
    notice.after = std::to_string(failed) + "/" + std::to_string(tried);
    notice.message = "本轮检查多数失败：" + std::to_string(tried) + "项中" +
                     std::to_string(failed) + "项失败，最常见原因：" + reason + "（" +
                     std::to_string(times) + "项）";
    return notice;
}

}  // namespace

std::vector<Notice> run_notices(const std::vector<CellChange>& cells,
                                const NoticeThresholds& thresholds) {
    std::vector<Notice> out;
    if (auto failing = failing_notice(cells)) {
        out.push_back(*std::move(failing));
    }
    for (const auto& cell : cells) {
        auto notices = cell_notices(cell.previous, cell.current, thresholds);
        out.insert(out.end(), std::make_move_iterator(notices.begin()),
                   std::make_move_iterator(notices.end()));
    }
    return out;
}

}  // namespace board
