#pragma once
// The settings file korvel.ini, shared by the window and the command line:
//
//   [hosts]
//   goods_page     = host[:port]
//   search_api     = host[:port]
//   operations_api = host[:port]
//   vendor_info    = host[:port]
//   domain_word    = text that marks a goods link
//
// An absent file or key keeps the built-in default (the local simulator); a
// value that cannot be read keeps its default too and is reported as a
// problem. A section nobody reads is skipped with a problem that names it, so
// a file written for a newer program still loads and a misspelt header is
// noticed. Nothing in the file can stop a program.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "net/hosts.h"

namespace net {

inline constexpr const char* kSettingsFileName = "korvel.ini";

struct Settings {
    Hosts hosts;
    // One line per ignored value ("line 3: ..."), for the log.
    std::vector<std::string> problems;
};

// Whether `text` is "name[:port]": a host name or IPv4 address of letters,
// digits, '.', '-' and '_', and an optional port 1..65535.
bool is_host_setting(std::string_view text);

// What the reader leaves out of the whole file (lines outside a section, a
// broken header, a section no program reads), "line N: ..." each.
std::vector<std::string> ini_layout_problems(std::string_view file_text);

// The [hosts] section; `problems` begins with ini_layout_problems().
Settings parse_settings(std::string_view file_text, const Hosts& defaults);

// Reads the file; an absent or unreadable file gives the defaults.
Settings load_settings(const std::filesystem::path& file, const Hosts& defaults);

}  // namespace net
