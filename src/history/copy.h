#pragma once
// A whole history copied into an empty one, from either engine to either:
// boards, checks with their goods rows, notices, deliveries, runs and paces,
// with their ids, so that every notice still names its check. Each batch is
// one transaction of the target.
#include <cstdint>
#include <functional>
#include <string_view>

#include "history/result.h"
#include "history/store.h"

namespace history {

struct CopyProgress {
    std::string_view what;  // "boards", "paces", "runs", "checks", "notices", "deliveries"
    std::int64_t done = 0;
    std::int64_t total = 0;  // 0 when not known in advance
};

// Refuses a target that holds anything. Afterwards the target's counts
// agree with the source's, or the copy reports what is missing; a copy that
// stopped part way leaves a target that must be emptied before copying again.
Status copy_history(const Store& from, Store& to, std::size_t batch_size,
                    const std::function<void(const CopyProgress&)>& progress);

}  // namespace history
