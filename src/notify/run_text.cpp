#include "notify/run_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace notify {

namespace {

std::string two_digits(unsigned value) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02u", value % 100);
    return buffer;
}

std::string first_line(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// The rank in "第12名", or nothing (千名外 and the like).
std::optional<int> rank_in(const std::string& text) {
    const auto digits = text.find_first_of("0123456789");
    if (digits == std::string::npos)
        return std::nullopt;
    return std::atoi(text.c_str() + digits);
}

int places_moved(const NoticeLine& line) {
    const auto before = rank_in(line.before);
    const auto after = rank_in(line.after);
    return before && after ? std::abs(*after - *before) : 0;
}

int importance(const NoticeLine& line) {
    if (line.kind == "overtaken")
        return 0;
    if (line.kind == "entered_top" || line.kind == "left_top" || line.kind == "entered_1000" ||
        line.kind == "left_1000")
        return 1;
    if (line.kind == "rank_move")
        return 2;
    return 3;
}

std::string more_text(std::size_t folded) {
    return "另有 " + std::to_string(folded) + " 条，见看板窗口的变动通知或 korvel-check --history";
}

// The title, `shown` notice lines and the line about the rest, each made
// by `line_of`; as many notice lines as fit in `max_bytes`.
template <typename LineOf>
std::string fitted_run(const RunMessage& run, const std::string& title, std::size_t max_bytes,
                       const std::string& more_prefix, LineOf line_of) {
    std::size_t shown = std::min(run.notices.size(), static_cast<std::size_t>(kMaxNoticeLines));
    for (;;) {
        std::string text = title;
        for (std::size_t i = 0; i < shown; ++i)
            text += line_of(run.notices[i]);
        if (shown < run.notices.size())
            text += more_prefix + more_text(run.notices.size() - shown);
        if (text.size() <= max_bytes || shown == 0)
            return text.size() <= max_bytes ? text : whole_lines(text, max_bytes);
        --shown;
    }
}

// At most `max_bytes` of `text`, cut at a character boundary.
std::string utf8_prefix(std::string_view text, std::size_t max_bytes) {
    std::size_t end = std::min(max_bytes, text.size());
    while (end > 0 && end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return std::string(text.substr(0, end));
}

}  // namespace

std::string minute_text(std::int64_t unix_ms, int utc_offset_minutes) {
    using namespace std::chrono;
    const sys_time<milliseconds> at{milliseconds(unix_ms) + minutes(utc_offset_minutes)};
    const auto day = floor<days>(at);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<minutes>(at - day)};
    return std::to_string(static_cast<int>(date.year())) + "-" +
           two_digits(static_cast<unsigned>(date.month())) + "-" +
           two_digits(static_cast<unsigned>(date.day())) + " " +
           two_digits(static_cast<unsigned>(clock.hours().count())) + ":" +
           two_digits(static_cast<unsigned>(clock.minutes().count()));
}

std::string notice_line_text(const NoticeLine& line) {
    const std::string text =
        line.message.empty() ? line.cell + "：" + line.before + " → " + line.after : line.message;
    return line.late ? "（补发）" + text : text;
}

void order_by_importance(std::vector<NoticeLine>& lines) {
    std::stable_sort(lines.begin(), lines.end(), [](const NoticeLine& a, const NoticeLine& b) {
        if (importance(a) != importance(b))
            return importance(a) < importance(b);
        return importance(a) == 2 && places_moved(a) > places_moved(b);
    });
}

std::string run_title(const RunMessage& run, int utc_offset_minutes) {
    std::string title =
        "【Korvel】看板「" + run.board + "」 " + minute_text(run.time_ms, utc_offset_minutes);
    if (!run.counts)
        return title + "，" + std::to_string(run.notices.size()) + " 条变动";
    const RunCounts& c = *run.counts;
    return title + " 本店上升 " + std::to_string(c.rose) + " · 下降 " + std::to_string(c.fell) +
           " · 前10名 " + std::to_string(c.top10) + " · 失败 " + std::to_string(c.failed);
}

std::string run_text(const RunMessage& run, int utc_offset_minutes, std::size_t max_bytes) {
    return fitted_run(run, run_title(run, utc_offset_minutes), max_bytes, "\n",
                      [](const NoticeLine& line) { return "\n" + notice_line_text(line); });
}

std::string run_markdown(const RunMessage& run, int utc_offset_minutes, std::size_t max_bytes) {
    return fitted_run(run, "**" + run_title(run, utc_offset_minutes) + "**\n", max_bytes, "\n\n",
                      [](const NoticeLine& line) { return "\n- " + notice_line_text(line); });
}

std::string whole_lines(std::string_view text, std::size_t max_bytes) {
    if (text.size() <= max_bytes)
        return std::string(text);
    std::vector<std::size_t> ends;  // where each line ends in `text`
    for (std::size_t at = text.find('\n'); at != std::string_view::npos;
         at = text.find('\n', at + 1))
        ends.push_back(at);
    ends.push_back(text.size());
    // The most whole lines that fit beside the line saying how many are left out.
    for (std::size_t kept = ends.size() - 1; kept > 0; --kept) {
        const std::string more = "\n……另有 " + std::to_string(ends.size() - kept) + " 行未列出";
        if (ends[kept - 1] + more.size() <= max_bytes)
            return std::string(text.substr(0, ends[kept - 1])) + more;
    }
    return utf8_prefix(text.substr(0, ends.front()), max_bytes);  // not even one whole line
}

std::string subject_of(const Content& content, int utc_offset_minutes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return run_title(*run, utc_offset_minutes);
    return first_line(std::get<std::string>(content));
}

std::string text_of(const Content& content, int utc_offset_minutes, std::size_t max_bytes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return run_text(*run, utc_offset_minutes, max_bytes);
    return whole_lines(std::get<std::string>(content), max_bytes);
}

std::string markdown_of(const Content& content, int utc_offset_minutes, std::size_t max_bytes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return run_markdown(*run, utc_offset_minutes, max_bytes);
    return whole_lines(std::get<std::string>(content), max_bytes);
}

}  // namespace notify
