#pragma once
// A loopback HTTP server for the window tests: answers every GET with a small
// page, remembers the paths asked for, and can hold the requests to one path
// unanswered until released (a page that never comes).
#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace window_test {

class LoopbackServer {
  public:
    // Hang guard for waits on the server; nothing measures speed with it.
    static constexpr std::chrono::seconds kGiveUp{90};

    explicit LoopbackServer(std::string held_path = {}) : held_path_(std::move(held_path)) {
        server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            std::unique_lock lock(mutex_);
            paths_.push_back(request.path);
            changed_.notify_all();
            if (request.path == held_path_) {
                ++held_now_;
                changed_.wait_for(lock, kGiveUp, [this] { return released_; });
                --held_now_;
            }
            response.set_content("<html><body>ok</body></html>", "text/html");
        });
        // Bound and listening from here on; connections queue until accepted.
        server_.set_idle_interval(0, 50000);  // a polled accept loop always notices stop()
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // stop() only reaches a loop that has begun.
        while (!server_.is_running())
            std::this_thread::yield();
    }
    ~LoopbackServer() {
        release();
        server_.stop();
        thread_.join();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }

    bool saw(const std::string& path) {
        std::lock_guard lock(mutex_);
        return seen(path);
    }
    // Blocks this thread until `path` was asked for (or the guard runs out).
    bool wait_for(const std::string& path) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kGiveUp, [&] { return seen(path); });
    }
    int held_now() {
        std::lock_guard lock(mutex_);
        return held_now_;
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    bool seen(const std::string& path) const {
        return std::find(paths_.begin(), paths_.end(), path) != paths_.end();
    }

    httplib::Server server_;
    std::string held_path_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> paths_;
    int held_now_ = 0;
    bool released_ = false;
};

}  // namespace window_test
