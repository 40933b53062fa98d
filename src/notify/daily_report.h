#pragma once
// The daily report of one board: every cell's rank now, 24 hours ago and the
// best of the last 7 days, the biggest moves first.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace notify {

struct ReportRow {
    std::string cell{};                   // "辣条 · 销量"
    std::optional<int> now{};             // none: 千名外
    std::optional<int> day_ago{};         // none: 千名外
    std::optional<int> best_in_7_days{};  // none: 无数据 (never found in the week)
    bool day_ago_known = true;            // false: nothing was read 24 hours ago (无数据)
};

// Places gained since a day ago (negative: lost). Leaving or entering the
// first 1000 counts as a move to or from place 1001; without a rank a day
// ago there is no move.
int places_gained(const ReportRow& row);

// Title line ("【Korvel】看板「X」日报 2024-05-01"), then the risers (most
// places first), the fallers (most places first) and the unchanged rows in
// their given order, one line each: "辣条 · 销量：第12名（▲8，24小时前第20名，7天最好第9名）".
std::string daily_report(const std::string& board, std::int64_t time_ms, int utc_offset_minutes,
                         const std::vector<ReportRow>& rows);

}  // namespace notify
