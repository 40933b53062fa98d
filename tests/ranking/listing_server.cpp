#include "listing_server.h"

#include <cstdlib>

namespace ranking_test {

namespace {

bool is_goods_page(const std::string& target) {
    return target.starts_with("/goods2.html");
}

// The page number a listing target asks for.
int page_of(const std::string& target) {
    const std::string key = target.starts_with("/operation/") ? "opt_type=" : "page=";
    const std::size_t query = target.find('?');
    for (std::size_t at = target.find(key, query); at != std::string::npos;
         at = target.find(key, at + 1)) {
        const char before = target[at - 1];
        if (before == '?' || before == '&')
            return std::atoi(target.c_str() + at + key.size());
    }
    return 0;
}

}  // namespace

ListingServer::ListingServer()
    : server_([this](const std::string& request) { return answer(request); }) {}

test::Reply ListingServer::answer(const std::string& request) {
    const std::string target = test::request_target(request);
    std::lock_guard lock(mutex_);
    if (is_goods_page(target))
        return test::Reply::ok(goods_page_, "Content-Type: text/html; charset=utf-8\r\n");
    const auto page = pages_.find(page_of(target));
    return page != pages_.end() ? page->second : test::Reply::ok("");
}

void ListingServer::set_goods_page(std::string utf8_body) {
    std::lock_guard lock(mutex_);
    goods_page_ = std::move(utf8_body);
}

void ListingServer::set_page(int page, test::Reply reply) {
    std::lock_guard lock(mutex_);
    pages_[page] = std::move(reply);
}

std::string ListingServer::host() const {
    return "127.0.0.1:" + std::to_string(server_.port());
}

net::Hosts ListingServer::hosts() const {
    return net::Hosts{host(), host(), host(), host(), "goods-link"};
}

std::vector<std::string> ListingServer::targets() const {
    std::vector<std::string> out;
    for (const std::string& request : server_.requests())
        out.push_back(test::request_target(request));
    return out;
}

std::vector<std::string> ListingServer::listing_targets() const {
    std::vector<std::string> out;
    for (std::string& target : targets()) {
        if (!is_goods_page(target))
            out.push_back(std::move(target));
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
