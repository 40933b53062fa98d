#pragma once
// Points every host of the program at one loopback server for a scope and
// restores the previous hosts afterwards.
#include <string>

#include "net/hosts.h"

namespace catalogue_test {

class ScopedHosts {
  public:
    explicit ScopedHosts(const std::string& host_port) : previous_(net::hosts()) {
        net::Hosts hosts = previous_;
        hosts.goods_page = hosts.search_api = hosts.operations_api = hosts.vendor_info = host_port;
        net::set_hosts(hosts);
    }
    ~ScopedHosts() { net::set_hosts(previous_); }
    ScopedHosts(const ScopedHosts&) = delete;
    ScopedHosts& operator=(const ScopedHosts&) = delete;

  private:
    net::Hosts previous_;
};

}  // namespace catalogue_test
