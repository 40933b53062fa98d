#include "notify/failing.h"

#include <algorithm>

namespace notify {

FailingDecision decide_failing(bool was_failing, RunMessage run) {
    const auto is_failing = [](const NoticeLine& line) { return line.kind == kChecksFailingKind; };
    const bool failing = std::any_of(run.notices.begin(), run.notices.end(), is_failing);
    if (was_failing && failing) {
        std::erase_if(run.notices, is_failing);
    } else if (was_failing) {
        NoticeLine recovered;
        recovered.kind = std::string(kChecksRecoveredKind);
        recovered.message = "检查恢复：本轮检查多数已读到";
        run.notices.insert(run.notices.begin(), recovered);
    }
    return {failing, std::move(run)};
}

}  // namespace notify
