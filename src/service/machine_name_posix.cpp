#include <unistd.h>

#include "service/machine_name.h"

namespace service {

std::string machine_name() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0')
        return "worker";
    return name;
}

}  // namespace service
