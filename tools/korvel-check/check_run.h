#pragma once
// A korvel-check run: the goods links become Goods IDs, then every listing is
// read once, page by page, for all goods items together, with the window's
// pauses between the steps.
#include <functional>
#include <string_view>
#include <vector>

#include "check_plan.h"
#include "result_rows.h"

namespace cli {

// Told what is read now: step `index` (1-based) of `total`, e.g. "keyword 辣条 sales".
using ProgressReport = std::function<void(int index, int total, std::string_view what)>;

// Reads over net::hosts() and the installed event pump; returns the rows
// goods by goods (goods_major_rows).
std::vector<ResultRow> run_checks(const CheckPlan& plan, const ProgressReport& progress);

}  // namespace cli
