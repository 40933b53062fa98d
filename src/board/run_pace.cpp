#include "board/run_pace.h"

#include <algorithm>

namespace board {

void MeasuredPace::sample(std::int64_t now_ms, std::size_t checks, std::size_t pages) {
    if (!samples_.empty() && now_ms < samples_.back().ms)
        samples_.clear();  // the clock went back: start over
    samples_.push_back({now_ms, checks, pages});
    // Keep one sample at or before the window's start, so the window is whole.
    while (samples_.size() > 2 && samples_[1].ms <= now_ms - kPaceWindowMs)
        samples_.pop_front();
}

std::optional<double> MeasuredPace::pages_per_second() const {
    if (samples_.size() < 2 || samples_.back().ms <= samples_.front().ms)
        return std::nullopt;
    const double seconds = static_cast<double>(samples_.back().ms - samples_.front().ms) / 1000.0;
    return static_cast<double>(samples_.back().pages - samples_.front().pages) / seconds;
}

std::optional<std::int64_t> MeasuredPace::remaining_ms(std::size_t total) const {
    if (samples_.size() < 2)
        return std::nullopt;
    const Sample& first = samples_.front();
    const Sample& last = samples_.back();
    if (last.checks >= total)
        return 0;
    if (last.checks <= first.checks || last.ms <= first.ms)
        return std::nullopt;
    const double per_check =
        static_cast<double>(last.ms - first.ms) / static_cast<double>(last.checks - first.checks);
    return static_cast<std::int64_t>(per_check * static_cast<double>(total - last.checks));
}

std::string remaining_text(std::int64_t ms) {
    const std::int64_t seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return "剩余约 " + std::to_string(std::max<std::int64_t>(seconds, 1)) + " 秒";
    const std::int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return "剩余约 " + std::to_string(minutes) + " 分钟";
    const std::string hours = "剩余约 " + std::to_string(minutes / 60) + " 小时";
    return minutes % 60 == 0 ? hours : hours + " " + std::to_string(minutes % 60) + " 分钟";
}

}  // namespace board
