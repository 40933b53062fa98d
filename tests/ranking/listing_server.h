#pragma once
// A loopback marketplace for ranking tests whose answers the test writes: one
// goods page for every goods id, and one body per listing page number (the
// "page" value, or "opt_type" for category listings) for every listing path.
// It records every request target as sent.
#include <memory>
#include <string>
#include <vector>

#include "net/hosts.h"

namespace ranking_test {

class ListingServer {
  public:
    ListingServer();
    ~ListingServer();
    ListingServer(const ListingServer&) = delete;
    ListingServer& operator=(const ListingServer&) = delete;

    // UTF-8 goods page served for /goods2.html (any goods id).
    void set_goods_page(std::string body);
    // Body served for page 1 or 2 of every listing.
    void set_listing_page(int page, std::string body);

    std::string host() const;  // "127.0.0.1:PORT"
    net::Hosts hosts() const;  // every host on this server, domain word "goods-link"
    std::vector<std::string> targets() const;          // path and query of every request, in order
    std::vector<std::string> listing_targets() const;  // the same without goods pages

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A goods page carrying the three fields the program reads (UTF-8).
std::string goods_page(const std::string& goods_id, const std::string& name,
                       const std::string& shop);

}  // namespace ranking_test
