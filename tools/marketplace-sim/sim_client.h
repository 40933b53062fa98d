#pragma once
// A plain HTTP GET on loopback, for tests and benchmarks that talk to the
// simulator without Korvel's own client (and without httplib's header).
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct HttpReply {
    bool answered = false;  // false: no connection, no answer or timed out
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    std::string header(const std::string& name) const;  // empty when absent
};

// `target` is the raw path and query, sent as written.
HttpReply http_get(int port, const std::string& target,
                   const std::vector<std::pair<std::string, std::string>>& headers = {},
                   int timeout_ms = 10000);

}  // namespace sim
