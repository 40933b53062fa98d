#pragma once
// One HTTP exchange on libcurl, run on the calling thread: the part both
// routines share once each has decided address, method, header lines, agent,
// proxy and policies.
#include <functional>
#include <string>
#include <vector>

#include "net/abort_signal.h"

namespace net {

struct Exchange {
    std::string address;  // as made by transfer_address; empty means the request cannot be made
    bool post = false;
    std::string post_data;
    std::vector<std::string> header_lines;  // the completed header text, one line each
    std::string agent;
    std::string proxy;  // host:port; used for plain http only, empty means direct
    bool follow_redirects = true;
    bool use_cookie_store = true;  // false: an explicit cookie travels in the header lines
    long read_chunk = 2048;        // bytes per read
    long connect_timeout_ms = 0;   // 0: none of our own
    long idle_timeout_s = 0;       // give up after this long without a byte; 0: never
    long total_timeout_ms = 0;     // give up when the whole exchange takes longer; 0: never
};

struct ExchangeHooks {
    // Runs before each round of reading; returning false ends the exchange.
    std::function<bool()> before_read;
    // Longest sleep on the sockets before before_read runs again.
    int poll_ms = 1000;
    AbortSignal* abort = nullptr;
};

// Why an exchange did not read a whole response.
enum class TransferError {
    none,
    connect,    // no connection, refused, reset, or the transfer broke off
    timeout,    // a time limit of the exchange ran out
    abandoned,  // aborted or ended by the caller's hook
};

struct ExchangeResult {
    std::string body;          // every byte received, also when the exchange broke off
    std::string header_block;  // the final response's raw header block
    bool completed = false;    // the response was read to its end
    int status = 0;            // the final response's HTTP status; 0 when none arrived
    TransferError error = TransferError::none;
    // Some of the request left: a server may act on an exchange cut short.
    bool request_sent = false;
};

ExchangeResult run_exchange(const Exchange& exchange, const ExchangeHooks& hooks);

}  // namespace net
