#include "board/check_report.h"

#include <algorithm>

#include "text/codepage.h"

namespace board {

const std::string& not_checked_text() {
    return GBK("未检查");
}

const std::string& rate_limited_text() {
    return GBK("被限速");
}

const std::string& server_error_text() {
    return GBK("服务器错误");
}

const std::string& no_answer_text() {
    return GBK("无响应");
}

bool needs_recheck(const CheckReport& report) {
    return !report.checked ||
           std::any_of(report.outcomes.begin(), report.outcomes.end(), [](const auto& outcome) {
               return outcome.status == ranking::RunStatus::failed;
           });
}

CheckPlan recheck_plan(const CheckPlan& previous, const std::vector<CheckReport>& reports) {
    std::vector<bool> settled(previous.listings.size(), false);
    for (const CheckReport& report : reports) {
        if (report.check < settled.size() && !needs_recheck(report))
            settled[report.check] = true;
    }
    std::vector<std::size_t> again;
    for (std::size_t i = 0; i < settled.size(); ++i) {
        if (!settled[i])
            again.push_back(i);
    }
    return plan_of(previous, again);
}

}  // namespace board
