#pragma once
// Hosts for a test's own server: every one of them on it.
//
//   state.hosts = test::all_hosts_on("127.0.0.1:" + std::to_string(port));
#include <string>

#include "net/hosts.h"

namespace test {

// Every host on `host_port`, with the default domain word.
inline net::Hosts all_hosts_on(const std::string& host_port) {
    net::Hosts hosts = net::default_hosts();
    hosts.goods_page = hosts.search_api = hosts.operations_api = hosts.vendor_info = host_port;
    return hosts;
}

}  // namespace test
