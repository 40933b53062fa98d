#if defined(_WIN32)
#include <time.h>

#include "board/schedule.h"

namespace board {

// Windows' tm has no UTC offset: the local reading read back as if it were
// UTC differs from the instant by exactly the offset.
LocalZone LocalZone::system_at(Time when) {
    const __time64_t seconds = std::chrono::system_clock::to_time_t(when);
    tm local{};
    if (_localtime64_s(&local, &seconds) != 0) {
        return {};
    }
    const __time64_t as_utc = _mkgmtime64(&local);
    return {std::chrono::minutes((as_utc - seconds) / 60)};
}

}  // namespace board
#endif
