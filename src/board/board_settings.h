#pragma once
// How politely a board reads the marketplace. Read from the [board] section
// of korvel.ini:
//
//   [board]
//   max_in_flight = 3            ; requests at once per host
//   pages_per_second = 2.5       ; the fastest pace per host
//   min_pages_per_second = 0.1   ; the slowest pace push-back brings a host down to
//   speed_up_after = 20          ; pages read in a row before the pace rises again
//   jitter = 0.3                 ; each spacing is 1/pace x [1-j, 1+j]
//   retries = 3                  ; for a connection failure, time-out, 5xx, 429, or a
//                                ; body that is no listing
//   backoff_s = 1                ; first retry's wait, doubled for each further one
//   failures_before_pause = 3    ; transient failures in a row that count as push-back
//   pause_s = 60                 ; pause after push-back when the server names no Retry-After
//   give_up_after = 3            ; push-backs in a row, no page read between, that end the run
//   request_timeout_s = 30
//   max_pause_s = 900            ; a longer Retry-After ends the run instead of being waited for
//   pause_budget_s = 1800        ; more pausing than this in one run ends it
//   remember_pace_h = 24         ; a run within this many hours starts at the pace the last ended
//
// A missing key keeps its default; a value that cannot be read or is out of
// range keeps the default and gives a message. max_retry_after_s, the older
// name of max_pause_s, is still read.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace board {

struct BoardSettings {
    int max_in_flight = 3;
    double pages_per_second = 2.5;
    double jitter = 0.3;
    int retries = 3;
    double backoff_s = 1.0;
    int failures_before_pause = 3;
    double pause_s = 60;
    int give_up_after = 3;
    double request_timeout_s = 30;
    double max_pause_s = 900;
    double min_pages_per_second = 0.1;
    int speed_up_after = 20;
    double pause_budget_s = 1800;
    double remember_pace_h = 24;
    bool operator==(const BoardSettings&) const = default;
};

struct ParsedBoardSettings {
    BoardSettings settings;
    // One per value not taken ("line 7: retries = -1 is out of range 0..10; default 3 kept"),
    // for the caller to print on stderr.
    std::vector<std::string> messages;
};

// The values a key of the section takes: whole numbers or any, from min to max.
struct BoardSettingLimits {
    double min = 0;
    double max = 0;
    bool whole = false;
};
std::optional<BoardSettingLimits> board_setting_limits(std::string_view key);

// Reads the [board] section of an ini text; other sections are skipped.
ParsedBoardSettings parse_board_settings(std::string_view ini_text);

}  // namespace board
