#pragma once
#include <string>
#include <string_view>

namespace net {

std::string url_host(std::string_view url);
std::string url_path(std::string_view url);
int url_port(std::string_view url);

}  // namespace net
