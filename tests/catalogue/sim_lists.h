#pragma once
// Ground truth for the lists the simulator serves, as the program holds them
// (GBK names, ids).
#include <string>
#include <vector>

#include "sim_catalogue.h"

namespace catalogue_test {

// Simulator options with the default data, listening on any free port.
sim::Options on_any_port();

struct Expected {
    std::vector<std::string> names;
    std::vector<std::string> ids;
};

Expected expected(const std::vector<sim::Category>& categories);
Expected expected(const std::vector<sim::Tab>& tabs);
// The first n entries only.
Expected first(Expected list, std::size_t n);
// Two lists one after the other.
Expected joined(Expected a, const Expected& b);

}  // namespace catalogue_test
