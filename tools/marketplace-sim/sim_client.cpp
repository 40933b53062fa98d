#include "sim_client.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>

namespace sim {

std::string HttpReply::header(const std::string& name) const {
    for (const auto& [n, v] : headers) {
        const bool same =
            std::equal(n.begin(), n.end(), name.begin(), name.end(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            });
        if (same) {
            return v;
        }
    }
    return {};
}

HttpReply http_get(int port, const std::string& target,
                   const std::vector<std::pair<std::string, std::string>>& headers,
                   int timeout_ms) {
    httplib::Client client("127.0.0.1", port);
    const auto seconds = timeout_ms / 1000;
    const auto micros = (timeout_ms % 1000) * 1000;
    client.set_connection_timeout(seconds, micros);
    client.set_read_timeout(seconds, micros);
    client.set_write_timeout(seconds, micros);
    client.set_url_encode(false);
    httplib::Headers sent(headers.begin(), headers.end());
    auto result = client.Get(target, sent);
    HttpReply reply;
    if (!result) {
        return reply;
    }
    reply.answered = true;
    reply.status = result->status;
    reply.body = result->body;
    reply.headers.assign(result->headers.begin(), result->headers.end());
    return reply;
}

}  // namespace sim
