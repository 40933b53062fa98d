#include "net/hosts.h"

namespace net {

namespace {
Hosts& current() {
    static Hosts hosts = default_hosts();
    return hosts;
}
}  // namespace

Hosts default_hosts() {
    const std::string local = "127.0.0.1:" + std::to_string(kDefaultSimulatorPort);
    return Hosts{local, local, local, local, "goods2.html"};
}

const Hosts& hosts() {
    return current();
}
void set_hosts(const Hosts& h) {
    current() = h;
}

}  // namespace net
