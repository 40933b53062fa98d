#include <algorithm>
#include <cstdlib>
#include <utility>

#include "board/notices.h"

namespace board {
namespace {

using history::Check;
using history::Notice;
using history::Outcome;

// The reason most failed checks give; on a tie the one met first.
bool unread(const Check& check) {
    return check.outcome == Outcome::failed || check.outcome == Outcome::not_checked;
}

std::pair<std::string, int> commonest_reason(const std::vector<Check>& run) {
    std::vector<std::pair<std::string, int>> counts;
    for (const auto& check : run) {
        if (!unread(check)) {
            continue;
        }
        const std::string reason = check.reason.empty() ? "原因不明" : check.reason;
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

}  // namespace

// A check never tried (the run gave up before it) counts with the failed
// ones: a run that read almost nothing must say so.
std::optional<Notice> failing_notice(const std::vector<Check>& run) {
    int tried = 0;
    int failed = 0;
    std::int64_t last_ms = 0;
    for (const auto& check : run) {
        ++tried;
        failed += unread(check) ? 1 : 0;
        last_ms = std::max(last_ms, check.time_ms);
    }
    if (failed * 2 <= tried) {
        return std::nullopt;
    }
    const auto [reason, times] = commonest_reason(run);
    Notice notice;
    notice.board = run.front().board;
    notice.time_ms = last_ms;
    notice.sort = history::Sort::none;
    notice.kind = std::string(notice_kind::checks_failing);
    notice.after = std::to_string(failed) + "/" + std::to_string(tried);
    notice.message = "本轮检查多数失败：" + std::to_string(tried) + "项中" +
                     std::to_string(failed) + "项失败或未检查，最常见原因：" + reason + "（" +
                     std::to_string(times) + "项）";
    return notice;
}

namespace {

// Places moved, from the notice's before and after texts ("第12名"); a notice
// without two ranks counts as a move of 1000 (entering or leaving the list).
int places_moved(const Notice& notice) {
    const auto rank = [](const std::string& text) -> std::optional<int> {
        const auto digits = text.find_first_of("0123456789");
        if (digits == std::string::npos || text.find("1000") != std::string::npos)
            return std::nullopt;
        return std::atoi(text.c_str() + digits);
    };
    const auto before = rank(notice.before);
    const auto after = rank(notice.after);
    if (notice.kind == notice_kind::checks_failing)
        return 2000;
    return before && after ? std::abs(*after - *before) : 1000;
}

}  // namespace

std::string tray_text(const std::vector<Notice>& notices, std::string_view board) {
    std::vector<const Notice*> ordered;
    for (const Notice& n : notices) {
        ordered.push_back(&n);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const Notice* a, const Notice* b) {
        return places_moved(*a) > places_moved(*b);
    });
    std::string text = board.empty() ? std::string() : std::string(board) + "：";
    text += std::to_string(notices.size()) + " 条变动";
    for (std::size_t i = 0; i < ordered.size() && i < 3; ++i) {
        text += "\n" + ordered[i]->message;
    }
    return text;
}

std::vector<Notice> run_notices(const std::vector<CellChange>& cells,
                                const NoticeThresholds& thresholds) {
    std::vector<Notice> out;
    std::vector<Check> run;
    for (const auto& cell : cells) {
        run.push_back(cell.current);
    }
    if (auto failing = failing_notice(run)) {
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
