#pragma once
// A loopback marketplace whose answers the test writes: one goods page for
// every goods id, and one reply per listing page number (the "page" value, or
// "opt_type" for category listings) for every listing path. The server
// records every request target as sent.
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "net/hosts.h"
#include "plain/raw_http_server.h"

namespace ranking_test {

class ListingServer {
  public:
    ListingServer();

    void set_goods_page(std::string utf8_body);
    // What page 1 or 2 of every listing answers; an unset page is an empty 200.
    void set_page(int page, test::Reply reply);
    void set_page_body(int page, std::string body) { set_page(page, test::Reply::ok(body)); }
    void release() { server_.release(); }  // lets held replies go out

    std::string host() const;  // "127.0.0.1:PORT"
    // Every host on this server, domain word "goods-link".
    net::Hosts hosts() const;
    std::vector<std::string> targets() const;          // every request, in order
    std::vector<std::string> listing_targets() const;  // the same without goods pages

  private:
    test::Reply answer(const std::string& request);

    mutable std::mutex mutex_;
    std::string goods_page_;
    std::map<int, test::Reply> pages_;
    test::RawHttpServer server_;  // last: stops before the replies it reads go
};

// A goods page carrying the three fields the program reads (UTF-8).
std::string goods_page(const std::string& goods_id, const std::string& name = "n",
                       const std::string& shop = "s");

}  // namespace ranking_test
