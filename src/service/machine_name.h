#pragma once
#include <string>

namespace service {

// This computer's name, as the network knows it (UTF-8); "worker" when the
// system gives none.
std::string machine_name();

}  // namespace service
