#include "board/pace.h"

#include <algorithm>
#include <cmath>

namespace board {

namespace {

constexpr double kSlowest = 0.001;
constexpr double kFastest = 1000;
// Rises' worth of pages after a push-back before the pace probes above the target.
constexpr int kRisesHeld = 10;
// Pages read in a row per quick step toward the target.
constexpr int kQuickAfter = 4;
// Of the pace pushed back at: where the quick climb stops.
constexpr double kTargetShare = 0.8;

double sane(double pages_per_second, double fallback) {
    return std::isfinite(pages_per_second) ? std::clamp(pages_per_second, kSlowest, kFastest)
                                           : fallback;
}

}  // namespace

double top_pace(const BoardSettings& settings) {
    return sane(settings.pages_per_second, BoardSettings{}.pages_per_second);
}

double floor_pace(const BoardSettings& settings) {
    return std::min(sane(settings.min_pages_per_second, BoardSettings{}.min_pages_per_second),
                    top_pace(settings));
}

Pace::Pace(const LearnedPace& learned, const BoardSettings& settings)
    : top_(top_pace(settings)),
      floor_(floor_pace(settings)),
      pages_per_second_(std::clamp(
          std::isfinite(learned.pages_per_second) ? learned.pages_per_second : top_, floor_, top_)),
      pushed_back_at_(std::isfinite(learned.pushed_back_at) && learned.pushed_back_at > 0
                          ? learned.pushed_back_at
                          : 0),
      pages_since_push_back_(std::max<std::int64_t>(0, learned.pages_since_push_back)),
      max_in_flight_(std::max(1, settings.max_in_flight)),
      concurrency_(max_in_flight_),
      speed_up_after_(std::max(1, settings.speed_up_after)),
      quick_after_(std::min(kQuickAfter, speed_up_after_)),
      limited_(pages_per_second_ < top_) {}

double Pace::target() const {
    return pushed_back_at_ > 0 ? std::clamp(pushed_back_at_ * kTargetShare, floor_, top_) : 0;
}

bool Pace::held() const {
    return pushed_back_at_ > 0 &&
           pages_since_push_back_ < std::int64_t{kRisesHeld} * speed_up_after_;
}

double Pace::raised() const {
    const double goal = target();
    if (pages_per_second_ < goal) {
        // Halfway, and the last bit at once rather than in ever smaller steps.
        const double next = pages_per_second_ + (goal - pages_per_second_) / 2;
        return goal - next < step() / 10 ? goal : next;
    }
    return held() ? pages_per_second_ : std::min(top_, pages_per_second_ + step());
}

void Pace::push_back() {
    pushed_back_at_ = pages_per_second_;
    pages_per_second_ = std::max(floor_, pages_per_second_ / 2);
    pages_since_push_back_ = 0;
    concurrency_ = std::max(1, concurrency_ / 2);
    limited_ = true;
    pushed_back_this_run_ = true;
}

void Pace::page_read() {
    read_this_run_ = true;
    const std::int64_t in_a_row = ++pages_since_push_back_;
    if (in_a_row % speed_up_after_ == 0)
        concurrency_ = std::min(max_in_flight_, concurrency_ + 1);
    const bool below_target = pages_per_second_ < target();
    if (in_a_row % (below_target ? quick_after_ : speed_up_after_) == 0)
        pages_per_second_ = raised();
}

LearnedPace Pace::learned() const {
    const bool clean = read_this_run_ && !pushed_back_this_run_;
    return {clean ? raised() : pages_per_second_, pushed_back_at_, pages_since_push_back_};
}

}  // namespace board
