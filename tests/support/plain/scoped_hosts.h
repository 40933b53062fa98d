#pragma once
// ScopedHosts: the program's hosts (net::hosts()) for one scope, the previous
// ones restored after it.
//
//   test::ScopedHosts hosts(test::all_hosts_on("127.0.0.1:" + std::to_string(port)));
#include <string>

#include "net/hosts.h"

namespace test {

// Every host on `host_port`, with the default domain word.
inline net::Hosts all_hosts_on(const std::string& host_port) {
    net::Hosts hosts = net::default_hosts();
    hosts.goods_page = hosts.search_api = hosts.operations_api = hosts.vendor_info = host_port;
    return hosts;
}

// Every host where nothing listens (port 1 of loopback): what a test
// program starts with, so a test that names no server of its own never
// reaches whatever answers on the default hosts' port, such as the demo's
// simulator on 18080.
inline net::Hosts nowhere() {
    return all_hosts_on("127.0.0.1:1");
}

class ScopedHosts {
  public:
    explicit ScopedHosts(const net::Hosts& hosts) : previous_(net::hosts()) {
        net::set_hosts(hosts);
    }
    ~ScopedHosts() { net::set_hosts(previous_); }
    ScopedHosts(const ScopedHosts&) = delete;
    ScopedHosts& operator=(const ScopedHosts&) = delete;

  private:
    net::Hosts previous_;
};

}  // namespace test
