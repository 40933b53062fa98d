#include "listing_server.h"

#include <httplib.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

namespace ranking_test {

namespace {

int page_of(const httplib::Request& request) {
    const char* key = request.path.rfind("/operation/", 0) == 0 ? "opt_type" : "page";
    return std::atoi(request.get_param_value(key).c_str());
}

}  // namespace

struct ListingServer::Impl {
    httplib::Server server;
    std::thread thread;
    int port = 0;
    mutable std::mutex mutex;
    std::string goods_page;
    std::map<int, std::string> pages;
    std::vector<std::string> targets;

    void handle(const httplib::Request& request, httplib::Response& response) {
        std::string body;
        {
            std::lock_guard lock(mutex);
            targets.push_back(request.target);
            if (request.path == "/goods2.html") {
                body = goods_page;
            } else if (auto it = pages.find(page_of(request)); it != pages.end()) {
                body = it->second;
            }
        }
        response.set_content(body, "text/html; charset=utf-8");
    }
};

ListingServer::ListingServer() : impl_(std::make_unique<Impl>()) {
    impl_->server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        impl_->handle(request, response);
    });
    impl_->server.set_idle_interval(0, 50000);  // a polled accept loop always notices stop()
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
    // A stop() that comes before the accept loop runs would be missed and the
    // loop would never end: be sure it runs before anyone can stop it.
    while (!impl_->server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

ListingServer::~ListingServer() {
    impl_->server.stop();
    if (impl_->thread.joinable())
        impl_->thread.join();
}

void ListingServer::set_goods_page(std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->goods_page = std::move(body);
}

void ListingServer::set_listing_page(int page, std::string body) {
    std::lock_guard lock(impl_->mutex);
    impl_->pages[page] = std::move(body);
}

std::string ListingServer::host() const {
    return "127.0.0.1:" + std::to_string(impl_->port);
}

net::Hosts ListingServer::hosts() const {
    return net::Hosts{host(), host(), host(), host(), "goods-link"};
}

std::vector<std::string> ListingServer::targets() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->targets;
}

std::vector<std::string> ListingServer::listing_targets() const {
    std::vector<std::string> out;
    for (auto& t : targets()) {
        if (t.rfind("/goods2.html", 0) != 0)
            out.push_back(t);
    }
    return out;
}

std::string goods_page(const std::string& goods_id, const std::string& name,
                       const std::string& shop) {
    return R"(<html><script>window.pageData={"goods":{"goodsID":)" + goods_id +
           R"(,"goodsName":")" + name + R"(","mallName":")" + shop +
           R"(","x":1}};</script></html>)";
}

}  // namespace ranking_test
