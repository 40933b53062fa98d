#include "notify/daily_report.h"

#include <algorithm>
#include <cstdlib>

#include "notify/run_text.h"

namespace notify {

namespace {

constexpr int kOutside = 1001;  // where a goods item outside the first 1000 counts as standing

std::string rank_text(std::optional<int> rank) {
    return rank ? "第" + std::to_string(*rank) + "名" : "千名外";
}

std::string move_text(int gained) {
    if (gained > 0)
        return "▲" + std::to_string(gained);
    if (gained < 0)
        return "▼" + std::to_string(-gained);
    return "持平";
}

std::string row_text(const ReportRow& row) {
    const std::string best = row.best_in_7_days ? rank_text(row.best_in_7_days) : "无数据";
    const std::string day_ago = row.day_ago_known ? rank_text(row.day_ago) : "无数据";
    return row.cell + "：" + rank_text(row.now) + "（" + move_text(places_gained(row)) +
           "，24小时前" + day_ago + "，7天最好" + best + "）";
}

}  // namespace

int places_gained(const ReportRow& row) {
    if (!row.day_ago_known)
        return 0;
    return row.day_ago.value_or(kOutside) - row.now.value_or(kOutside);
}

std::string daily_report(const std::string& board, std::int64_t time_ms, int utc_offset_minutes,
                         const std::vector<ReportRow>& rows) {
    std::vector<const ReportRow*> order;
    for (const auto& row : rows)
        order.push_back(&row);
    // Risers before fallers before the unchanged; within each, the larger move first.
    const auto group = [](const ReportRow* r) {
        const int gained = places_gained(*r);
        return gained > 0 ? 0 : gained < 0 ? 1 : 2;
    };
    std::stable_sort(order.begin(), order.end(), [&](const ReportRow* a, const ReportRow* b) {
        if (group(a) != group(b))
            return group(a) < group(b);
        return std::abs(places_gained(*a)) > std::abs(places_gained(*b));
    });
    std::string text = "【Korvel】看板「" + board + "」日报 " +
                       minute_text(time_ms, utc_offset_minutes).substr(0, 10);
    if (rows.empty())
        text += "\n无数据";
    for (const ReportRow* row : order)
        text += "\n" + row_text(*row);
    return text;
}

}  // namespace notify
