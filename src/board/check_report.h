#pragma once
// How one check of a board ended, as the scheduler reports it: the listing,
// one outcome per goods item, and what it cost. A check that could not be
// read because the run gave up is "not checked" (未检查): it carries no
// outcome at all, so it can never pass for "not among the first 1000".
#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "board/check_plan.h"
#include "ranking/listing.h"
#include "ranking/run_outcome.h"

namespace board {

struct CheckReport {
    std::size_t check = 0;  // index into the plan's listings
    ranking::Listing listing;
    bool checked = true;  // false: 未检查
    // Why it was not checked (GBK): when the run gave up under push-back,
    // what pushed back (rate_limited_text, server_error_text,
    // no_answer_text). Empty when checked.
    std::string not_checked_reason;
    // One per goods id of the plan, in its order; empty when not checked.
    std::vector<ranking::RunOutcome> outcomes;
    int pages_read = 0;
    // The HTTP status of every request made for the check, retries included
    // (0: no answer arrived).
    std::vector<int> statuses;
    // Stamped by the driver when the report leaves it.
    std::chrono::system_clock::time_point finished_at{};
};

// "未检查" (GBK).
const std::string& not_checked_text();

// Why a run that gave up left a check (GBK): "被限速" when the marketplace
// kept limiting us (429, Retry-After), "服务器错误" when its server kept
// failing (5xx, bodies that are no listing), "无响应" when it kept not
// answering (time-outs, no connection).
const std::string& rate_limited_text();
const std::string& server_error_text();
const std::string& no_answer_text();

// Not checked, or some goods item's outcome failed.
bool needs_recheck(const CheckReport& report);

// The checks of `previous` to run again: those whose report needs a re-check
// and those never reported (the run was stopped before them).
CheckPlan recheck_plan(const CheckPlan& previous, const std::vector<CheckReport>& reports);

}  // namespace board
