#include "board_check.h"

#include "board/board_run.h"
#include "net/hosts.h"

namespace cli {

Reports run_plan(const board::CheckPlan& plan, const board::BoardSettings& settings,
                 const std::function<void(const board::CheckReport&)>& on_report) {
    Reports reports(plan.listings.size());
    if (plan.goods_ids.empty() || plan.listings.empty())
        return reports;
    board::BoardRun run(plan, net::hosts(), settings, [&](const board::CheckReport& report) {
        if (report.check < reports.size())
            reports[report.check] = report;
        on_report(report);
    });
    // wait_until_done hands every report out before it returns, so the
    // vector is complete (and no longer written) afterwards.
    if (run.start())
        run.wait_until_done();
    return reports;
}

}  // namespace cli
