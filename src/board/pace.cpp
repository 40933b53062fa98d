#include "board/pace.h"

#include <algorithm>
#include <cmath>

namespace board {

namespace {

constexpr double kSlowest = 0.001;
constexpr double kFastest = 1000;
// Rises the ceiling withholds before the pace probes above it.
constexpr int kRisesHeld = 10;

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

Pace::Pace(double start, const BoardSettings& settings)
    : top_(top_pace(settings)),
      floor_(floor_pace(settings)),
      pages_per_second_(std::clamp(std::isfinite(start) ? start : top_, floor_, top_)),
      ceiling_(pages_per_second_),
      max_in_flight_(std::max(1, settings.max_in_flight)),
      concurrency_(max_in_flight_),
      speed_up_after_(std::max(1, settings.speed_up_after)),
      limited_(pages_per_second_ < top_) {}

void Pace::push_back() {
    const double pushed_at = pages_per_second_;
    pages_per_second_ = std::max(floor_, pushed_at / 2);
    // Multiplicative as well as one step: a pace far above the limit would
    // otherwise leave a ceiling still above it, costing another halving.
    ceiling_ = std::max(pages_per_second_, std::min(pushed_at - step(), pushed_at * 0.8));
    rises_held_ = 0;
    concurrency_ = std::max(1, concurrency_ / 2);
    read_in_a_row_ = 0;
    limited_ = true;
}

void Pace::page_read() {
    if (++read_in_a_row_ < speed_up_after_)
        return;
    read_in_a_row_ = 0;
    concurrency_ = std::min(max_in_flight_, concurrency_ + 1);
    if (pages_per_second_ >= ceiling_ && ++rises_held_ > kRisesHeld) {
        ceiling_ = top_;
        rises_held_ = 0;
    }
    pages_per_second_ = std::max(pages_per_second_, std::min(ceiling_, pages_per_second_ + step()));
}

}  // namespace board
