#pragma once
// The daily report of one board, made to be read on a phone: counts first
// (the own ranks in the top 10 / 20 / 100, 千名外, 失败), then the biggest
// risers and fallers of the last 24 hours, then every other cell.
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
    bool failed = false;                  // the latest check was not read: 失败, not a stale rank
};

// Places gained since a day ago (negative: lost). Leaving or entering the
// first 1000 counts as a move to or from place 1001; without a rank a day
// ago, or when the latest check failed, there is no move.
int places_gained(const ReportRow& row);

// How many risers and fallers the report names before the rest.
inline constexpr std::size_t kReportMovers = 5;

// Title line ("【Korvel】看板「X」日报 2024-05-01"), the counts line, then
// "上升：" with the biggest risers, "下降：" with the biggest fallers and
// "其余：" with every other row in the given order, one line each:
// "辣条 · 销量：第12名（▲8，24小时前第20名，7天最好第9名）". Robots get it cut
// by whole lines (whole_lines), e-mail whole.
std::string daily_report(const std::string& board, std::int64_t time_ms, int utc_offset_minutes,
                         const std::vector<ReportRow>& rows);

}  // namespace notify
