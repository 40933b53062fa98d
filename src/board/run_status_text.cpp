#include "board/run_status_text.h"

#include <cstdio>
#include <ctime>

namespace board {

std::string local_time_text(std::int64_t unix_ms, const char* format) {
    const std::time_t seconds = static_cast<std::time_t>(unix_ms / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

std::string clock_of(std::chrono::system_clock::time_point time) {
    return local_time_text(
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count(),
        "%H:%M:%S");
}

std::string run_status_text(const RunStatus& status) {
    return std::to_string(status.reported) + "/" + std::to_string(status.total) +
           run_pace_text(status);
}

std::string run_pace_text(const RunStatus& status) {
    std::string text;
    if (status.pages_per_second > 0) {
        char pace[32];
        std::snprintf(pace, sizeof pace, "%.3g", status.pages_per_second);
        text += std::string(" · ") + pace + " 页/秒";
    }
    if (status.paused_until && *status.paused_until > std::chrono::system_clock::now())
        text += " · 被限速，暂停至 " + clock_of(*status.paused_until);
    if (status.retrying)
        text += " · 重试中";
    return text;
}

}  // namespace board
