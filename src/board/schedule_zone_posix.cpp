#if !defined(_WIN32)
#include <time.h>

#include "board/schedule.h"

namespace board {

LocalZone LocalZone::system_at(Time when) {
    const time_t seconds = std::chrono::system_clock::to_time_t(when);
    tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return {};
    }
    return {std::chrono::minutes(local.tm_gmtoff / 60)};
}

}  // namespace board
#endif
