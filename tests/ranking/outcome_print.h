#pragma once
// Readable run outcomes in test failure messages.
#include <ostream>

#include "ranking/run_outcome.h"
#include "text/codepage.h"

namespace ranking {

inline void PrintTo(const RunOutcome& outcome, std::ostream* os) {
    *os << status_name(outcome.status);
    if (outcome.status == RunStatus::found)
        *os << " at " << outcome.rank;
    if (outcome.status == RunStatus::failed)
        *os << " (" << text::gbk_to_utf8(reason_text(outcome)) << ")";
}

}  // namespace ranking
