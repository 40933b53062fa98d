#include "scripted_server.h"

#include <httplib.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace catalogue_test {

struct ScriptedServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    std::map<std::string, std::function<std::string(int)>> answers;
    std::map<std::string, int> calls;
    std::vector<std::string> targets;

    void handle(const httplib::Request& request, httplib::Response& response) {
        const std::string& target = request.target;
        std::function<std::string(int)> body;
        int call = 0;
        {
            std::lock_guard lock(mutex);
            targets.push_back(target);
            call = ++calls[target];
            auto it = answers.find(target);
            if (it != answers.end())
                body = it->second;
        }
        if (!body) {
            response.status = 404;
            return;
        }
        response.set_content(body(call), "text/html; charset=utf-8");
    }
};

ScriptedServer::ScriptedServer() : impl_(std::make_unique<Impl>()) {
    impl_->server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        impl_->handle(request, response);
    });
    impl_->server.set_idle_interval(0, 50000);  // a polled accept loop always notices stop()
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    // httplib's stop() does nothing before the accept loop runs: wait for it.
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ScriptedServer::~ScriptedServer() {
    impl_->server.stop();
    if (impl_->thread.joinable())
        impl_->thread.join();
}

void ScriptedServer::answer(const std::string& target, std::string body) {
    answer(target, [body = std::move(body)](int) { return body; });
}

void ScriptedServer::answer(const std::string& target, std::function<std::string(int)> body) {
    std::lock_guard lock(impl_->mutex);
    impl_->answers[target] = std::move(body);
}

std::string ScriptedServer::host() const {
    return "127.0.0.1:" + std::to_string(impl_->port);
}

std::vector<std::string> ScriptedServer::targets() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->targets;
}

int ScriptedServer::count(const std::string& target) const {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->calls.find(target);
    return it == impl_->calls.end() ? 0 : it->second;
}

}  // namespace catalogue_test
