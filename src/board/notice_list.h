#pragma once
// The board window's list of change notices: one heading per run (board,
// time, "N 条变动"), newest run first, each notice as one line under it, and
// the list as CSV for a spreadsheet. Texts are UTF-8, as the history keeps them.
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "board/sheet_csv.h"
#include "history/records.h"

namespace board {

// Notices further apart than this belong to different runs.
inline constexpr std::int64_t kRunGapMs = 10 * 60 * 1000;

struct NoticeGroup {
    std::string board;
    std::int64_t time_ms = 0;              // the run's first notice
    std::vector<history::Notice> notices;  // newest first
};

// The notices (in any order) as runs, newest run first. A run ends where
// the next notice comes more than kRunGapMs later or at or after one of
// `run_starts` (the starts of runs the history knows of).
std::vector<NoticeGroup> notice_groups(std::vector<history::Notice> notices,
                                       const std::vector<std::int64_t>& run_starts);

// "测试看板 · 12-09 14:05 · 3 条变动": the whole run's time and count, also
// while a filter shows only `shown` of its notices ("（筛选出 1 条）").
std::string group_heading(const NoticeGroup& group, std::size_t shown);
std::string group_heading(const NoticeGroup& group);

struct NoticeItemText {
    std::string text;          // "14:05  辣条 · 综合：第12名 → 第42名  √"
    std::string tooltip;       // the full time, the goods, the kind of change, each delivery
    bool undelivered = false;  // some channel did not get it
};

// What a notice's line in the list says; the one place that words a notice
// item, so whatever more there is to say about a notice goes here. `names`
// (goods ID -> "辣条大礼包（零食铺）") names the goods in the tooltip.
// `deliveries` are the notice's own: one mark after the line (√ every
// channel got it, × one did not, … still to go) keeps the line short; the
// tooltip says which channel, when, and why not.
NoticeItemText notice_item_text(const history::Notice& notice,
                                const std::map<std::string, std::string>& names = {},
                                const std::vector<history::Delivery>& deliveries = {});

// Whether the notice belongs in the list of changes (a daily report that
// was sent is kept as a notice, but is not a change).
bool listed_notice(const history::Notice& notice);

// Whether the notice speaks of a keyword containing `filter` (or says it in
// its message); an empty filter matches every notice.
bool notice_matches(const history::Notice& notice, std::string_view filter);

// The notices as 导出通知 writes them, made like the window's other exports
// (board/sheet_csv.h: its common columns, then 变动, 之前, 之后, 说明), one
// row each in the order given.
std::string notices_csv(const std::vector<history::Notice>& notices, const SheetNames& names = {});

}  // namespace board
