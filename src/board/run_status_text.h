#pragma once
// A running board in one line (UTF-8), the same in the window's status line
// and korvel-check's progress line: "12/100 · 2.5 页/秒 · 被限速，暂停至 14:05:30 · 重试中".
#include <cstdint>
#include <string>

#include "board/board_run.h"

namespace board {

std::string run_status_text(const RunStatus& status);
// The same without the count: " · 2.5 页/秒 · 重试中", or empty.
std::string run_pace_text(const RunStatus& status);

// A time in the local zone through strftime's format.
std::string local_time_text(std::int64_t unix_ms, const char* format);

// "14:05:30" in local time.
std::string clock_of(std::chrono::system_clock::time_point time);

}  // namespace board
