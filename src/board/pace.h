#pragma once
// The pace of one host: how many pages a second it is asked for and how many
// requests it may hold at once. Push-back halves both (down to
// min_pages_per_second and one request); every speed_up_after pages read in
// a row raise the pace by a tenth of pages_per_second (never above it) and
// let one more request out (never above max_in_flight). So a board slows
// down to whatever the marketplace allows and creeps back up when the
// marketplace lets it, instead of staying too fast and being cut off.
//
// A pace that was pushed back at is not tried again at once: the rises stop
// one step below it, and at most at 80 % of it (the ceiling), until ten
// rises' worth of pages went by there without push-back, and only then
// probe above. Without that, every
// climb would run into the limit again and halve the pace once more. A pace
// learned from the last run is such a ceiling too.
#include "board/board_settings.h"

namespace board {

class Pace {
  public:
    // `start` pages a second, clamped into [min_pages_per_second, pages_per_second].
    Pace(double start, const BoardSettings& settings);

    double pages_per_second() const { return pages_per_second_; }
    int concurrency() const { return concurrency_; }
    // The spacing between two requests, before jitter.
    double spacing_s() const { return 1.0 / pages_per_second_; }
    // The host has shown a limit (push-back now, or a slower pace learned
    // last time): its spacing is no longer jittered short.
    bool limited() const { return limited_; }

    void push_back();
    void page_read();

  private:
    double step() const { return top_ / 10; }

    double top_;
    double floor_;
    double pages_per_second_;
    double ceiling_;
    int max_in_flight_;
    int concurrency_;
    int speed_up_after_;
    int read_in_a_row_ = 0;
    int rises_held_ = 0;  // rises withheld by the ceiling since it was set
    bool limited_;
};

// The pace a rate set in code may ask for: the settings file never gives
// 0 or a non-number, a caller's own BoardSettings might.
double top_pace(const BoardSettings& settings);
double floor_pace(const BoardSettings& settings);

}  // namespace board
