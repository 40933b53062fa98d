#include "net/hosts.h"

namespace net {

Hosts default_hosts() {
    const std::string local = "127.0.0.1:" + std::to_string(kDefaultSimulatorPort);
    return Hosts{local, local, local, local, "goods2.html"};
}

}  // namespace net
