#include "board/notice_list.h"

#include <algorithm>

#include "board/run_status_text.h"
#include "board/words.h"
#include "history/csv_export.h"

namespace board {

namespace {

std::string_view kind_words(std::string_view kind) {
    if (kind == "rank_move")
        return "名次变动";
    if (kind == "overtaken")
        return "被竞品超过";
    if (kind == "checks_failing")
        return "检查多数失败";
    if (kind == "skipped")
        return "定时检查跳过";
    if (kind == "checks_recovered")
        return "检查恢复";
    return kind;
}

// "前20名" as the notice's message says it, for the kinds about the top N.
std::string top_words(const history::Notice& n, std::string_view verb) {
    const std::string lead = std::string(verb) + "前";
    const std::size_t at = n.message.find(lead);
    if (at != std::string::npos) {
        const std::size_t digits = at + lead.size();
        std::size_t end = digits;
        while (end < n.message.size() && n.message[end] >= '0' && n.message[end] <= '9')
            ++end;
        if (end > digits && n.message.compare(end, 3, "名") == 0)
            return n.message.substr(at, end + 3 - at);
    }
    return lead + "N名";
}

// 跌出 and 新进 are the first 1000's; the top N says its N.
std::string kind_word(const history::Notice& n) {
    const std::string_view kind = n.kind;
    if (kind == "entered_top")
        return top_words(n, "进入");
    if (kind == "left_top")
        return top_words(n, "跌出");
    if (kind == "entered_1000")
        return "新进前1000名";
    if (kind == "left_1000")
        return "跌出前1000名";
    return std::string(kind_words(kind));
}

bool starts_run(std::int64_t previous_ms, std::int64_t time_ms,
                const std::vector<std::int64_t>& run_starts) {
    if (time_ms - previous_ms > kRunGapMs)
        return true;
    return std::any_of(run_starts.begin(), run_starts.end(),
                       [&](std::int64_t start) { return previous_ms < start && start <= time_ms; });
}

// One mark after the line; the channels, when and why in the tooltip. A
// notice waiting for its channel, or held by a sender that has not said how
// it went, is neither sent nor failed.
void add_deliveries(NoticeItemText& out, const std::vector<history::Delivery>& deliveries) {
    if (deliveries.empty())
        return;
    bool waiting = false;
    out.tooltip += "\n通知：";
    for (const history::Delivery& d : deliveries) {
        if (d.delivered()) {
            out.tooltip +=
                "\n" + d.channel + "：已发送 " + local_time_text(d.delivered_ms, "%m-%d %H:%M:%S");
        } else if (d.queued()) {
            waiting = true;
            out.tooltip += "\n" + d.channel + "：待发送（随看板下次运行发出）";
        } else if (!d.claim.empty()) {
            waiting = true;
            out.tooltip += "\n" + d.channel +
                           "：未确认，发送中或发送被中断，不知是否送达（不再重发，以免重复）";
        } else {
            out.undelivered = true;
            out.tooltip += "\n" + d.channel + "：未送达（尝试 " + std::to_string(d.attempts) +
                           " 次）" + (d.error.empty() ? "" : "：" + d.error);
        }
    }
    out.text += out.undelivered ? "  ×" : waiting ? "  …" : "  √";
}

}  // namespace

std::vector<NoticeGroup> notice_groups(std::vector<history::Notice> notices,
                                       const std::vector<std::int64_t>& run_starts) {
    std::stable_sort(notices.begin(), notices.end(),
                     [](const auto& a, const auto& b) { return a.time_ms < b.time_ms; });
    std::vector<NoticeGroup> groups;
    for (history::Notice& n : notices) {
        if (groups.empty() || groups.back().board != n.board ||
            starts_run(groups.back().notices.back().time_ms, n.time_ms, run_starts))
            groups.push_back({n.board, n.time_ms, {}});
        groups.back().notices.push_back(std::move(n));
    }
    for (NoticeGroup& g : groups)
        std::reverse(g.notices.begin(), g.notices.end());
    std::reverse(groups.begin(), groups.end());
    return groups;
}

std::string group_heading(const NoticeGroup& group, std::size_t shown) {
    std::string heading = group.board + " · " + local_time_text(group.time_ms, "%m-%d %H:%M") +
                          " · " + std::to_string(group.notices.size()) + " 条变动";
    if (shown < group.notices.size())
        heading += "（筛选出 " + std::to_string(shown) + " 条）";
    return heading;
}

std::string group_heading(const NoticeGroup& group) {
    return group_heading(group, group.notices.size());
}

bool listed_notice(const history::Notice& notice) {
    return notice.kind != "daily_report";
}

NoticeItemText notice_item_text(const history::Notice& n,
                                const std::map<std::string, std::string>& names,
                                const std::vector<history::Delivery>& deliveries) {
    NoticeItemText out;
    out.text = local_time_text(n.time_ms, "%H:%M") + "  " + n.message;
    out.tooltip = local_time_text(n.time_ms, "%Y-%m-%d %H:%M:%S") + " · " + kind_word(n);
    if (const auto named = names.find(n.goods_id); named != names.end())
        out.tooltip += "\n" + named->second;
    if (!n.goods_id.empty())
        out.tooltip += "\n商品ID " + n.goods_id;
    add_deliveries(out, deliveries);
    return out;
}

bool notice_matches(const history::Notice& n, std::string_view filter) {
    return filter.empty() || n.key.find(filter) != std::string::npos ||
           n.message.find(filter) != std::string::npos;
}

std::string notices_csv(const std::vector<history::Notice>& notices, const SheetNames& names) {
    std::string out = sheet_head({"变动", "之前", "之后", "说明"});
    for (const history::Notice& n : notices) {
        std::vector<std::string> fields =
            sheet_lead({n.time_ms, n.board, n.listing, n.key, n.sort, n.goods_id}, names);
        fields.insert(fields.end(), {history::csv_field(kind_word(n)), history::csv_text(n.before),
                                     history::csv_text(n.after), history::csv_text(n.message)});
        out += history::csv_line(fields);
    }
    return out;
}

}  // namespace board
