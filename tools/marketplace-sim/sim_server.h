#pragma once
// The local stand-in for the marketplace and the vendor info server: a real
// HTTP server on 127.0.0.1, usable in-process by tests and as a program.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim_request_counts.h"

namespace sim {

// What replaces a response body while a body fault is on.
enum class BodyFault {
    none,     // the normal body
    empty,    // no body at all
    garbage,  // a few KB of seeded random bytes (NULs and broken UTF-8 included)
};

// Where the program listens unless told otherwise: Korvel's built-in hosts
// point there (net::kDefaultSimulatorPort).
inline constexpr int kProgramPort = 18080;

struct Options {
    // 0: any free port, so a server started in-process (a test, a benchmark)
    // never meets the demo's simulator on kProgramPort.
    int port = 0;
    std::uint32_t seed = 1;

    // Vendor info server.
    std::string version = "2.0";  // the published version; empty: the page carries no record
    // When set, the text between "xiazai" and "banben" instead of "address|version".
    std::optional<std::string> version_record;
    // Bytes of the new program file; empty: a POSIX shell script that, when run,
    // writes kDownloadMarkerFile (sim_catalogue.h) next to itself.
    std::string download_body;
    // UTF-8; shown between "gonggao[" and "]jiesu". Empty: the default text.
    // Korvel looks for "]jiesu" in the undecoded page stepping over two-byte
    // GBK characters, so end the text with an ASCII character (or an even
    // number of non-ASCII bytes), or the marker is not found.
    std::string announcement;
    int level1_count = -1;  // >= 0: only the first N level-1 categories are published

    // Faults, applied to every request whose path starts with fault_path
    // (empty: every request).
    std::string fault_path;
    int delay_ms = 0;  // wait before answering
    int status = 0;    // 0: the normal status; otherwise this status with a short error page
    // Seconds for "Retry-After" on the rate limit's 429s (-1: 1 second) and,
    // when >= 0, on `status` answers of 429 or 503.
    int retry_after = -1;
    BodyFault body = BodyFault::none;  // wins over the error page of `status`
    bool refuse_connections = false;   // nothing listens: connections are refused

    // > 0: the marketplace's answers (goods pages, listings, categories,
    // tabs; not the vendor info server) at most this many in any one second
    // (sliding window, RateWindow); the others get 429 with Retry-After.
    // Applies whatever `fault_path` says.
    int rate_limit = 0;

    // Listing shapes.
    // Moves the sample goods this many places down in every keyword listing
    // (negative: up), so a later check of the same query sees its rank move.
    int rank_shift = 0;
    int short_first_page = -1;  // >= 0: page 1 of every listing holds only this many entries
    // > 0: in keyword and category listings every N-th entry of a page
    // (N, 2N, …) carries no thumb key.
    int no_thumb_every = 0;

    // Marketplace catalogue answers.
    int tab_count = -1;  // >= 0: the tab list holds only the first N tabs
    // Sub-category answers (/operation/ID/groups with size <= 20) that come
    // back with an empty "opt_infos": the next N for a level-1 id (level-2
    // lists) or a level-2 id (level-3 lists); -1: all of them.
    int blank_level2_answers = 0;
    int blank_level3_answers = 0;

    // "name=value; attributes": sent as Set-Cookie on every answer to a
    // request that does not carry that cookie yet (first contact). Empty: none.
    std::string set_cookie;
};

// One request as the server received it.
struct RequestRecord {
    std::string method;
    std::string target;  // raw path and query, as sent (percent escapes intact)
    std::string path;    // decoded path
    std::vector<std::pair<std::string, std::string>> headers;

    // The value of a header (name without regard to case), or empty.
    std::string header(const std::string& name) const;
};

class Server {
  public:
    explicit Server(Options options = {});
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool start();  // listens on 127.0.0.1; false when the port is taken
    void stop();
    int port() const;
    std::string host() const;  // "127.0.0.1:PORT", as a host setting

    // Options can change while the server runs; the next request sees them.
    // The port is kept; a new seed rebuilds the catalogue; the blank-answer
    // budgets start afresh; a new rate limit starts with an empty window.
    Options options() const;
    void set_options(const Options& options);

    // Every request received since start (or since clear_requests), in order.
    std::vector<RequestRecord> requests() const;
    void clear_requests();

    // Requests of each kind and the rate limit's 429s since start (or since
    // reset_counts); also served as JSON at kCountsPath.
    RequestCounts counts() const;
    void reset_counts();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sim
