#include "notify/run_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace notify {

namespace {

std::string two_digits(unsigned value) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%02u", value % 100);
    return buffer;
}

std::string title(const RunMessage& run, int utc_offset_minutes) {
    return "【Korvel】看板「" + run.board + "」 " + minute_text(run.time_ms, utc_offset_minutes) +
           "，" + std::to_string(run.notices.size()) + " 条变动";
}

// The lines shown and the count of those folded away.
std::size_t shown_count(const RunMessage& run) {
    return std::min(run.notices.size(), static_cast<std::size_t>(kMaxNoticeLines));
}

std::string more_text(const RunMessage& run) {
    return "另有 " + std::to_string(run.notices.size() - shown_count(run)) + " 条";
}

std::string first_line(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
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
    if (!line.message.empty())
        return line.message;
    return line.cell + "：" + line.before + " → " + line.after;
}

std::string run_text(const RunMessage& run, int utc_offset_minutes) {
    std::string text = title(run, utc_offset_minutes);
    for (std::size_t i = 0; i < shown_count(run); ++i)
        text += "\n" + notice_line_text(run.notices[i]);
    if (shown_count(run) < run.notices.size())
        text += "\n" + more_text(run);
    return text;
}

std::string run_markdown(const RunMessage& run, int utc_offset_minutes) {
    std::string text = "**" + title(run, utc_offset_minutes) + "**\n";
    for (std::size_t i = 0; i < shown_count(run); ++i)
        text += "\n- " + notice_line_text(run.notices[i]);
    if (shown_count(run) < run.notices.size())
        text += "\n\n" + more_text(run);
    return text;
}

std::string subject_of(const Content& content, int utc_offset_minutes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return title(*run, utc_offset_minutes);
    return first_line(std::get<std::string>(content));
}

std::string text_of(const Content& content, int utc_offset_minutes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return run_text(*run, utc_offset_minutes);
    return std::get<std::string>(content);
}

std::string markdown_of(const Content& content, int utc_offset_minutes) {
    if (const auto* run = std::get_if<RunMessage>(&content))
        return run_markdown(*run, utc_offset_minutes);
    return std::get<std::string>(content);
}

}  // namespace notify
