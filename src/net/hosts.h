#pragma once
// Where the program's remote parties live. Each host is "name[:port]" without
// scheme; the domain word marks a goods input as a link rather than an id.
#include <string>

namespace net {

struct Hosts {
    std::string goods_page;      // goods pages: /goods2.html?goods_id=
    std::string search_api;      // /search, /v5/newlist
    std::string operations_api;  // /operation/…, /ishopping/…
    std::string vendor_info;     // /info.asp, /1.html, home page
    std::string domain_word;     // text that marks a link to a goods page
};

// The local simulator on loopback (see README). The hosts in use travel
// with the configuration a program loaded (the settings file), never
// through a global, so two configurations can live side by side.
constexpr int kDefaultSimulatorPort = 18080;
Hosts default_hosts();

}  // namespace net
