#pragma once
// The pace of one host: how many pages a second it is asked for and how many
// requests it may hold at once. Push-back halves both (down to
// min_pages_per_second and one request). So a board slows down to whatever
// the marketplace allows and comes back up when the marketplace lets it,
// instead of staying too fast and being cut off.
//
// Coming back up has two speeds. Below 80 % of the pace last pushed back at
// (the target: just below the limit that pace ran into), every few pages
// read in a row take the pace halfway to the target, so one early push-back
// costs seconds, not the rest of the run. From the target on, every
// speed_up_after pages read in a row raise it by a tenth of pages_per_second
// (never above it), and only once ten such rises' worth of pages went by
// since the push-back: without that hold every climb would run into the
// limit again and halve the pace once more. Every speed_up_after pages in a
// row also let one more request out (never above max_in_flight).
//
// What a run leaves (LearnedPace) starts the next one where it stopped, the
// pages read counting on across runs; a run that met no push-back leaves one
// rise more, so a board too small to read speed_up_after pages in one run
// still recovers.
#include <cstdint>

#include "board/board_settings.h"

namespace board {

// A host's pace as one run hands it to the next.
struct LearnedPace {
    double pages_per_second = 0;
    double pushed_back_at = 0;  // the pace last pushed back at; 0: none known
    std::int64_t pages_since_push_back = 0;

    bool operator==(const LearnedPace&) const = default;
};

class Pace {
  public:
    // `learned` clamped into [min_pages_per_second, pages_per_second].
    Pace(const LearnedPace& learned, const BoardSettings& settings);
    // A fresh start at `start` pages a second, no push-back known.
    Pace(double start, const BoardSettings& settings) : Pace(LearnedPace{start}, settings) {}

    double pages_per_second() const { return pages_per_second_; }
    int concurrency() const { return concurrency_; }
    // The spacing between two requests, before jitter.
    double spacing_s() const { return 1.0 / pages_per_second_; }
    // The host has shown a limit (push-back now, or a slower pace learned
    // last time): its spacing is no longer jittered short.
    bool limited() const { return limited_; }

    void push_back();
    void page_read();

    // What the next run starts from: this pace, one rise higher when this
    // run read a page and met no push-back.
    LearnedPace learned() const;

  private:
    double step() const { return top_ / 10; }
    // Just below the pace last pushed back at; 0 when none is known.
    double target() const;
    bool held() const;
    // The next rise, whichever of the two speeds applies.
    double raised() const;

    double top_;
    double floor_;
    double pages_per_second_;
    double pushed_back_at_;
    std::int64_t pages_since_push_back_;
    int max_in_flight_;
    int concurrency_;
    int speed_up_after_;
    int quick_after_;
    bool limited_;
    bool pushed_back_this_run_ = false;
    bool read_this_run_ = false;
};

// The pace a rate set in code may ask for: the settings file never gives
// 0 or a non-number, a caller's own BoardSettings might.
double top_pace(const BoardSettings& settings);
double floor_pace(const BoardSettings& settings);

}  // namespace board
