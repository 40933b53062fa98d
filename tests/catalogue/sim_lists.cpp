#include "sim_lists.h"

#include "text/codepage.h"

namespace catalogue_test {

sim::Options on_any_port() {
    sim::Options options;
    options.port = 0;
    return options;
}

Expected expected(const std::vector<sim::Category>& categories) {
    Expected out;
    for (const auto& c : categories) {
        out.names.push_back(text::utf8_to_gbk(c.name));
        out.ids.push_back(c.id);
    }
    return out;
}

Expected expected(const std::vector<sim::Tab>& tabs) {
    Expected out;
    for (const auto& t : tabs) {
        out.names.push_back(text::utf8_to_gbk(t.name));
        out.ids.push_back(t.id);
    }
    return out;
}

Expected first(Expected list, std::size_t n) {
    if (list.names.size() > n)
        list.names.resize(n);
    if (list.ids.size() > n)
        list.ids.resize(n);
    return list;
}

Expected joined(Expected a, const Expected& b) {
    a.names.insert(a.names.end(), b.names.begin(), b.names.end());
    a.ids.insert(a.ids.end(), b.ids.begin(), b.ids.end());
    return a;
}

}  // namespace catalogue_test
