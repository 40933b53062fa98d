#pragma once
// Which answer a request gets: the path and query values decide, nothing
// about the connection does. Faults (delay, status, body) are the server's.
#include <map>
#include <string>
#include <string_view>

#include "sim_catalogue.h"
#include "sim_request_counts.h"
#include "sim_server.h"

namespace sim {

struct Reply {
    int status = 200;
    std::string content_type;
    std::string body;
    int retry_after = -1;  // >= 0: sent as "Retry-After: N"
};

struct RouteRequest {
    std::string path;                                // decoded
    std::multimap<std::string, std::string> params;  // decoded query values
};

// Blank sub-category answers still to give; -1: every one.
struct BlankBudget {
    int level2 = 0;
    int level3 = 0;
};

PathKind path_kind(const RouteRequest& request);

// The rate limit's answer: 429, a short page and Retry-After (the option's
// seconds, or 1 when it is not set).
Reply too_many_requests(const Options& options);

// `host` is the server's own "127.0.0.1:PORT" (for the download address).
Reply route(const Catalogue& catalogue, const Options& options, const RouteRequest& request,
            std::string_view host, BlankBudget& blanks);

}  // namespace sim
