#include "sim_server.h"

#include <httplib.h>
#if !defined(_WIN32)
#include <sys/socket.h>
#endif

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "sim_catalogue.h"
#include "sim_pages.h"
#include "sim_rate_window.h"
#include "sim_routes.h"

namespace sim {

namespace {

constexpr int kWorkerThreads = 64;  // at least 50 clients at once
constexpr char kLoopback[] = "127.0.0.1";

bool lower_equal(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// SO_REUSEADDR only: a restart may take over a port in TIME_WAIT, but a port
// that another server listens on stays taken (SO_REUSEPORT would share it).
// On Windows SO_REUSEADDR would take over a listening port too; there the
// port is held exclusively instead.
void socket_options(socket_t sock) {
    int yes = 1;
#if defined(_WIN32)
    setsockopt(sock, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&yes),
               sizeof(yes));
#else
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
#endif
}

std::string cookie_name(const std::string& set_cookie) {
    return set_cookie.substr(0, set_cookie.find('='));
}

RequestRecord record_of(const httplib::Request& req) {
    RequestRecord r{req.method, req.target, req.path, {}};
    for (const auto& [name, value] : req.headers) {
        r.headers.emplace_back(name, value);
    }
    return r;
}

}  // namespace

std::string RequestRecord::header(const std::string& name) const {
    for (const auto& [n, v] : headers) {
        if (lower_equal(n, name)) {
            return v;
        }
    }
    return {};
}

struct Server::Impl {
    mutable std::mutex mutex;
    Options options;
    std::shared_ptr<const Catalogue> catalogue;
    BlankBudget blanks;
    std::vector<RequestRecord> log;
    RequestCounts counts;
    RateWindow window;
    int port = 0;
    bool started = false;
    bool stopping = false;
    std::condition_variable wake;  // ends delays early on stop

    std::unique_ptr<httplib::Server> http;
    std::thread listener;

    explicit Impl(Options o)
        : options(std::move(o)),
          catalogue(std::make_shared<Catalogue>(options.seed)),
          blanks{options.blank_level2_answers, options.blank_level3_answers},
          window(options.rate_limit) {}

    std::string host() const { return std::string(kLoopback) + ":" + std::to_string(port); }

    // Binds and starts accepting; `wanted` 0 picks a free port.
    bool listen(int wanted) {
        auto http_server = std::make_unique<httplib::Server>();
        http_server->new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
        http_server->set_socket_options(socket_options);
        // Short keep-alive: a stop waits for idle connections at most this long.
        http_server->set_keep_alive_timeout(1);
        http_server->Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            answer(req, res);
        });
        // A polled accept loop notices stop() even when the socket number is
        // reused by another socket the moment it is closed.
        http_server->set_idle_interval(0, 50000);
        int bound = wanted;
        if (wanted == 0) {
            bound = http_server->bind_to_any_port(kLoopback);
        } else if (!http_server->bind_to_port(kLoopback, wanted)) {
            bound = -1;
        }
        if (bound <= 0) {
            return false;
        }
        port = bound;
        http = std::move(http_server);
        auto ended = std::make_shared<std::atomic<bool>>(false);
        listener = std::thread([server = http.get(), ended] {
            server->listen_after_bind();
            *ended = true;
        });
        // httplib's stop() does nothing before the accept loop runs, so a
        // stop right after a start would leave the loop running for good.
        while (!http->is_running() && !*ended) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    void close_listener() {
        if (http) {
            http->stop();
        }
        if (listener.joinable()) {
            listener.join();
        }
        http.reset();
    }

    void answer(const httplib::Request& req, httplib::Response& res) {
        if (req.path.starts_with(kControlPrefix)) {
            send(control(req), res);
            return;
        }
        Options now;
        Reply reply;
        bool limited = false;
        {
            std::lock_guard lock(mutex);
            log.push_back(record_of(req));
            now = options;
            const std::shared_ptr<const Catalogue> data = catalogue;
            RouteRequest route_request{req.path, {req.params.begin(), req.params.end()}};
            const PathKind kind = path_kind(route_request);
            limited = marketplace_kind(kind) && !window.admit(RateWindow::Clock::now());
            counts.add(kind, limited);
            reply =
                limited ? too_many_requests(now) : route(*data, now, route_request, host(), blanks);
        }
        if (!now.set_cookie.empty() &&
            req.get_header_value("Cookie").find(cookie_name(now.set_cookie) + "=") ==
                std::string::npos) {
            res.set_header("Set-Cookie", now.set_cookie);
        }
        // The rate limit answers on arrival: no delay or other fault on top.
        if (!limited && req.path.starts_with(now.fault_path)) {
            apply_faults(now, reply);
        }
        send(reply, res);
    }

    static void send(const Reply& reply, httplib::Response& res) {
        res.status = reply.status;
        if (reply.retry_after >= 0) {
            res.set_header("Retry-After", std::to_string(reply.retry_after));
        }
        res.set_content(reply.body, reply.content_type.empty() ? "text/plain" : reply.content_type);
    }

    // The simulator's own endpoints, outside every count, limit and fault.
    Reply control(const httplib::Request& req) {
        std::lock_guard lock(mutex);
        log.push_back(record_of(req));
        if (req.path != kCountsPath) {
            return {404, "text/html; charset=utf-8", pages::error_page(404)};
        }
        Reply reply{200, "application/json; charset=utf-8", counts_json(counts)};
        if (req.get_param_value("reset") == "1") {
            counts = {};
        }
        return reply;
    }

    void apply_faults(const Options& now, Reply& reply) {
        if (now.delay_ms > 0) {
            std::unique_lock lock(mutex);
            wake.wait_for(lock, std::chrono::milliseconds(now.delay_ms),
                          [this] { return stopping; });
        }
        if (now.status != 0) {
            reply.status = now.status;
            reply.content_type = "text/html; charset=utf-8";
            reply.body = pages::error_page(now.status);
            if ((now.status == 429 || now.status == 503) && now.retry_after >= 0) {
                reply.retry_after = now.retry_after;
            }
        }
        switch (now.body) {
            case BodyFault::none:
                break;
            case BodyFault::empty:
                reply.body.clear();
                break;
            case BodyFault::garbage:
                reply.content_type = "application/octet-stream";
                reply.body = pages::garbage(now.seed);
                break;
        }
    }
};

Server::Server(Options options) : impl_(std::make_unique<Impl>(std::move(options))) {}

Server::~Server() {
    stop();
}

bool Server::start() {
    if (impl_->started) {
        return true;
    }
    const Options o = options();
    if (!impl_->listen(o.port)) {
        return false;
    }
    {
        std::lock_guard lock(impl_->mutex);
        impl_->started = true;
        impl_->stopping = false;
        impl_->options.port = impl_->port;
    }
    if (o.refuse_connections) {
        impl_->close_listener();  // keeps the port number; nothing answers on it
    }
    return true;
}

void Server::stop() {
    if (!impl_->started) {
        return;
    }
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->wake.notify_all();
    impl_->close_listener();
    impl_->started = false;
}

int Server::port() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->port;
}

std::string Server::host() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->host();
}

Options Server::options() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->options;
}

void Server::set_options(const Options& options) {
    bool was_refusing = false;
    {
        std::lock_guard lock(impl_->mutex);
        was_refusing = impl_->options.refuse_connections;
        const int kept_port = impl_->started ? impl_->options.port : options.port;
        if (options.seed != impl_->catalogue->seed()) {
            impl_->catalogue = std::make_shared<Catalogue>(options.seed);
        }
        impl_->options = options;
        impl_->options.port = kept_port;
        impl_->blanks = {options.blank_level2_answers, options.blank_level3_answers};
        if (options.rate_limit != impl_->window.limit()) {
            impl_->window = RateWindow(options.rate_limit);
        }
    }
    if (!impl_->started || was_refusing == options.refuse_connections) {
        return;
    }
    if (options.refuse_connections) {
        impl_->close_listener();
    } else {
        impl_->listen(port());
    }
}

std::vector<RequestRecord> Server::requests() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->log;
}

void Server::clear_requests() {
    std::lock_guard lock(impl_->mutex);
    impl_->log.clear();
}

RequestCounts Server::counts() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->counts;
}

void Server::reset_counts() {
    std::lock_guard lock(impl_->mutex);
    impl_->counts = {};
}

}  // namespace sim
