#pragma once
// The "checks failing" notice goes out once when a board starts failing, and
// one "检查恢复" line once when it reads again; the runs in between say
// nothing about it.
#include "notify/message.h"

namespace notify {

inline constexpr std::string_view kChecksFailingKind = "checks_failing";
inline constexpr std::string_view kChecksRecoveredKind = "checks_recovered";

struct FailingDecision {
    bool failing = false;  // the board's state after this run, for the next call
    RunMessage to_send;    // the run's message to send; no notices: send nothing
};

// `was_failing` is the state the previous run left (false for a board's first run).
FailingDecision decide_failing(bool was_failing, RunMessage run);

}  // namespace notify
