#pragma once
// A plan read under the board's polite scheduler (board::BoardRun), from the
// command line: this thread waits while the run's threads fetch.
#include <functional>
#include <optional>
#include <vector>

#include "board/board_settings.h"
#include "board/check_plan.h"
#include "board/check_report.h"
#include "result_rows.h"

namespace cli {

// Reads over net::hosts(). `on_report` gets each report as the check ends,
// on the run's control thread (one at a time; this thread only waits
// meanwhile). Returns the reports by check index; a check the run never
// reported (it could not start) stays empty. A plan without goods or
// listings reads nothing.
Reports run_plan(const board::CheckPlan& plan, const board::BoardSettings& settings,
                 const std::function<void(const board::CheckReport&)>& on_report);

}  // namespace cli
