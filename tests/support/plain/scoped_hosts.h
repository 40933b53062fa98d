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

// Every host where nothing listens (port 1 of loopback): what a test
// program starts with, so a test that names no server of its own never
// reaches whatever answers on the default hosts' port, such as the demo's
// simulator on 18080.
inline net::Hosts nowhere() {
    return all_hosts_on("127.0.0.1:1");
}

}  // namespace test
