#pragma once
// Which answer a request gets: the path and query values decide, nothing
// about the connection does. Faults (delay, status, body) are the server's.
#include <map>
#include <string>
#include <string_view>

#include "sim_catalogue.h"
#include "sim_server.h"

namespace sim {

struct Reply {
    int status = 200;
    std::string content_type;
    std::string body;
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

// `host` is the server's own "127.0.0.1:PORT" (for the download address).
Reply route(const Catalogue& catalogue, const Options& options, const RouteRequest& request,
            std::string_view host, BlankBudget& blanks);

}  // namespace sim
