#pragma once
// A run's progress as it really goes, for the window's progress bar: the
// checks and pages done over the last half minute, the pace that makes and
// the time left at that pace. The scheduler's own pace is what it allows a
// host; this one is what the marketplace's answers gave (slow answers, a
// pause), so it follows the run as the seller sees it.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace board {

// How far back the pace is measured: long enough to smooth the jitter of
// single pages, short enough to follow a pause or a pace that changed.
inline constexpr std::int64_t kPaceWindowMs = 30'000;

class MeasuredPace {
  public:
    // What the run had done at `now_ms`: checks reported, requests answered.
    void sample(std::int64_t now_ms, std::size_t checks, std::size_t pages);
    // Pages answered per second over the window; none until time has passed.
    std::optional<double> pages_per_second() const;
    // Until `total` checks are done at the window's pace; none while the
    // window saw no check finish (a pause, the goods pages first).
    std::optional<std::int64_t> remaining_ms(std::size_t total) const;

  private:
    struct Sample {
        std::int64_t ms;
        std::size_t checks;
        std::size_t pages;
    };
    std::deque<Sample> samples_;
};

// "剩余约 3 分钟", "剩余约 40 秒", "剩余约 1 小时 5 分钟" (UTF-8).
std::string remaining_text(std::int64_t ms);

}  // namespace board
