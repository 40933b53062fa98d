// The [board] section of the settings file.
#include <gtest/gtest.h>

#include "board/board_settings.h"

namespace {

using board::parse_board_settings;

TEST(BoardSettings, ReadsTheBoardSectionOnly) {
    const auto parsed = parse_board_settings(
        "[hosts]\nmax_in_flight = 9\nsearch_api = x:1\n"
        "[Board]\r\n"
        "max_in_flight = 2   ; per host\r\n"
        "pages_per_second=0.5\n"
        "RETRIES = 5\n"
        "jitter = 0\n"
        "backoff_s = 0.25\n"
        "failures_before_pause = 4\n"
        "pause_s = 30\n"
        "give_up_after = 2\n"
        "request_timeout_s = 12.5\n"
        "max_retry_after_s = 90   ; the older name of max_pause_s\n"
        "min_pages_per_second = 0.2\n"
        "speed_up_after = 10\n"
        "pause_budget_s = 600\n"
        "remember_pace_h = 12\n"
        "[other]\npause_s = 1\n");
    EXPECT_TRUE(parsed.messages.empty()) << parsed.messages.front();
    EXPECT_EQ(parsed.settings,
              (board::BoardSettings{2, 0.5, 0, 5, 0.25, 4, 30, 2, 12.5, 90, 0.2, 10, 600, 12}));
}

TEST(BoardSettings, KeepsTheDefaultForAValueItCannotUse) {
    struct Row {
        const char* line;
        const char* message;
    };
    const Row rows[] = {
        {"max_in_flight = 0", "line 2: max_in_flight = 0 is out of range 1..16; default 3 kept"},
        {"max_in_flight = 2.5",
         "line 2: max_in_flight = 2.5 is not a whole number; default 3 kept"},
        {"pages_per_second = 0", "line 2: pages_per_second = 0 is out of range 0.01..50"},
        {"pages_per_second = fast", "line 2: pages_per_second = fast is not a number"},
        {"pages_per_second = 2.5x", "line 2: pages_per_second = 2.5x is not a number"},
        {"pages_per_second = nan", "line 2: pages_per_second = nan is not a number"},
        {"min_pages_per_second = inf", "line 2: min_pages_per_second = inf is not a number"},
        {"max_pause_s = 90000",
         "line 2: max_pause_s = 90000 is out of range 0..86400; default 900"},
        {"jitter = 1", "line 2: jitter = 1 is out of range 0..0.9; default 0.3 kept"},
        {"retries = -1", "line 2: retries = -1 is out of range 0..10"},
        {"retries =", "line 2: retries =  is not a whole number"},
        {"speed = 3", "line 2: unknown key 'speed' ignored"},
        {"retries", "line 2: no '=' in line; ignored"},
    };
    const board::BoardSettings defaults;
    for (const Row& row : rows) {
        const auto parsed = parse_board_settings("[board]\n" + std::string(row.line) + "\n");
        ASSERT_EQ(parsed.messages.size(), 1u) << row.line;
        EXPECT_EQ(parsed.messages[0].rfind(row.message, 0), 0u) << parsed.messages[0];
        EXPECT_EQ(parsed.settings, defaults) << row.line;
    }
}

}  // namespace
