#include <cstdlib>

#include "service/machine_name.h"

namespace service {

std::string machine_name() {
    const char* name = std::getenv("COMPUTERNAME");
    return name && *name ? std::string(name) : std::string("worker");
}

}  // namespace service
