#include "notify/daily_report.h"

#include <algorithm>
#include <cstdlib>

#include "board/words.h"
#include "notify/run_text.h"

namespace notify {

namespace {

constexpr int kOutside = 1001;  // where a goods item outside the first 1000 counts as standing

std::string rank_text(std::optional<int> rank) {
    return rank ? "第" + std::to_string(*rank) + "名" : std::string(board::kNotInTopWord);
}

std::string row_text(const ReportRow& row) {
    std::vector<std::string> notes;
    const int gained = places_gained(row);
    if (gained != 0)
        notes.push_back((gained > 0 ? "▲" : "▼") + std::to_string(std::abs(gained)));
    else if (row.day_ago_known && !row.failed)
        notes.push_back("持平");
    notes.push_back("24小时前" + (row.day_ago_known ? rank_text(row.day_ago) : "无数据"));
    notes.push_back("7天最好" + (row.best_in_7_days ? rank_text(row.best_in_7_days) : "无数据"));
    std::string text = row.cell + "：" +
                       (row.failed ? std::string(board::kFailedWord) : rank_text(row.now)) + "（";
    for (std::size_t i = 0; i < notes.size(); ++i)
        text += (i > 0 ? "，" : "") + notes[i];
    return text + "）";
}

std::string counts_text(const std::vector<ReportRow>& rows) {
    int top10 = 0, top20 = 0, top100 = 0, outside = 0, failed = 0;
    for (const ReportRow& row : rows) {
        if (row.failed) {
            ++failed;
        } else if (!row.now) {
            ++outside;
        } else {
            top10 += *row.now <= 10 ? 1 : 0;
            top20 += *row.now <= 20 ? 1 : 0;
            top100 += *row.now <= 100 ? 1 : 0;
        }
    }
    return std::string(board::kOwnWord) + "前10名 " + std::to_string(top10) + " · 前20名 " +
           std::to_string(top20) + " · 前100名 " + std::to_string(top100) + " · " +
           std::string(board::kNotInTopWord) + " " + std::to_string(outside) + " · " +
           std::string(board::kFailedWord) + " " + std::to_string(failed);
}

// The rows that moved in one direction, the largest move first, at most kReportMovers.
std::vector<const ReportRow*> movers(const std::vector<ReportRow>& rows, int direction) {
    std::vector<const ReportRow*> out;
    for (const ReportRow& row : rows) {
        if (places_gained(row) * direction > 0)
            out.push_back(&row);
    }
    std::stable_sort(out.begin(), out.end(), [](const ReportRow* a, const ReportRow* b) {
        return std::abs(places_gained(*a)) > std::abs(places_gained(*b));
    });
    if (out.size() > kReportMovers)
        out.resize(kReportMovers);
    return out;
}

}  // namespace

int places_gained(const ReportRow& row) {
    if (!row.day_ago_known || row.failed)
        return 0;
    return row.day_ago.value_or(kOutside) - row.now.value_or(kOutside);
}

std::string daily_report(const std::string& board, std::int64_t time_ms, int utc_offset_minutes,
                         const std::vector<ReportRow>& rows) {
    std::string text = "【Korvel】看板「" + board + "」日报 " +
                       minute_text(time_ms, utc_offset_minutes).substr(0, 10);
    if (rows.empty())
        return text + "\n无数据";
    text += "\n" + counts_text(rows);
    std::vector<const ReportRow*> named;
    for (const auto& [heading, direction] : {std::pair{"上升：", 1}, std::pair{"下降：", -1}}) {
        const auto list = movers(rows, direction);
        if (!list.empty())
            text += std::string("\n") + heading;
        for (const ReportRow* row : list) {
            text += "\n" + row_text(*row);
            named.push_back(row);
        }
    }
    bool rest_started = false;
    for (const ReportRow& row : rows) {
        if (std::find(named.begin(), named.end(), &row) != named.end())
            continue;
        if (!rest_started && !named.empty())
            text += "\n其余：";
        rest_started = true;
        text += "\n" + row_text(row);
    }
    return text;
}

}  // namespace notify
