#pragma once
// RawHttpServer: a plain TCP server on 127.0.0.1 for tests that need the exact
// bytes a client sends, or a server that misbehaves.
//
// For every connection it reads one request (the head up to the blank line,
// then Content-Length bytes of body), records the raw bytes, asks the handler
// for a Reply and sends it. A connection that opens with a TLS handshake
// record (first byte 0x16) is recorded as it is and closed: tests use that to
// see that a client spoke TLS.
//
// Reply options: a delay before answering, holding the answer until release()
// (or the server stops), sending the body in small pieces with pauses, an
// endless trickle, and closing the connection part-way through the body.
// The destructor stops everything promptly, including held and endless
// answers, and joins its threads.
//
//   test::RawHttpServer server(test::Reply::ok("hello"));
//   std::string url = server.url("/page");   // "http://127.0.0.1:<port>/page"
//   ... fetch ...
//   server.last_request();                    // "GET /page HTTP/1.1\r\nHost: ..."
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "plain/socket_io.h"

namespace test {

struct Reply {
    std::string head;  // status line and header lines, blank line included
    std::string body;
    std::chrono::milliseconds delay{0};  // before anything is sent
    bool hold = false;                   // send nothing until release() or stop
    std::size_t piece = 0;               // > 0: send the body in pieces of this size
    std::chrono::milliseconds pause{0};  // between pieces
    bool endless = false;                // after the body, keep sending pieces of it until stop
    std::size_t close_after = std::numeric_limits<std::size_t>::max();  // body bytes, then close

    // "HTTP/1.1 200 OK" with Content-Length and the extra header lines (each
    // ending in CR LF).
    static Reply ok(std::string body, std::string extra_headers = {});
    // A status line of the caller's choice with Content-Length and extra lines.
    static Reply status(std::string status_line, std::string body, std::string extra_headers = {});
};

class RawHttpServer {
  public:
    using Handler = std::function<Reply(const std::string& request)>;

    explicit RawHttpServer(Handler handler);
    explicit RawHttpServer(Reply fixed);
    // Listens on a port of the caller's choice (e.g. 443); ok() tells whether binding worked.
    RawHttpServer(Reply fixed, int port);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    bool ok() const { return listen_fd_ != sockets::kNoSocket; }
    int port() const { return port_; }
    std::string url(std::string_view path = "/") const;

    std::vector<std::string> requests() const;
    std::size_t request_count() const;
    std::string last_request() const;  // empty when none arrived

    // Lets held replies go out.
    void release();
    // How many held replies are waiting for release() right now.
    int held_now() const;

    // Whether a request for `path` (the target without its query) arrived, and
    // a wait for one that gives up after `give_up` (a hang guard only).
    bool saw_path(std::string_view path) const;
    bool wait_for_path(std::string_view path,
                       std::chrono::milliseconds give_up = std::chrono::seconds(90));

  private:
    void start(int port);
    void accept_loop();
    void serve(sockets::Socket fd);
    std::string read_request(sockets::Socket fd);
    void answer(sockets::Socket fd, const Reply& reply);
    bool send_all(sockets::Socket fd, std::string_view bytes);
    // Sleeps for `pause`; false when the server is stopping.
    bool sleep_for(std::chrono::milliseconds pause);
    bool wait_released();
    bool stopping() const { return stopping_.load(); }
    bool seen_locked(std::string_view path) const;

    Handler handler_;
    sockets::Socket listen_fd_ = sockets::kNoSocket;
    int port_ = 0;
    sockets::Socket stop_pipe_[2] = {sockets::kNoSocket, sockets::kNoSocket};
    std::atomic<bool> stopping_{false};
    bool released_ = false;
    int held_now_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> requests_;
    std::vector<std::thread> threads_;
    std::vector<sockets::Socket> open_fds_;
    std::thread acceptor_;
};

// A port on 127.0.0.1 that nobody listens on (bound, then closed).
int refused_port();

// A recorded request taken apart: the lines of its head (request line first,
// without their CR LF, the blank line not included) and the bytes after it.
struct RequestParts {
    std::vector<std::string> head_lines;
    std::string body;
};
RequestParts split_request(std::string_view raw);

// The request target of a recorded request ("/path?query", or the absolute
// URI a proxy receives), and the value of its first header line of that name
// (letter case ignored, surrounding spaces trimmed), empty when absent.
std::string request_target(std::string_view raw);
std::string header_value(std::string_view raw, std::string_view name);

}  // namespace test
