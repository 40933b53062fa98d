#pragma once
// Goods links become Goods IDs through their goods pages, the way the
// window finds them, before a run: the scheduler reads listings for ids.
#include <functional>
#include <string>
#include <string_view>

#include "check_plan.h"
#include "net/hosts.h"
#include "result_rows.h"

namespace cli {

// Told which link is looked up now.
using LookupProgress = std::function<void(std::string_view link)>;

// The id of every input, own goods and competitors apart: a typed id as it
// is, a link's from its goods page (empty when the page gave none).
ResolvedIds resolve_inputs(const CheckPlan& plan, const net::Hosts& hosts,
                           const LookupProgress& progress);

}  // namespace cli
