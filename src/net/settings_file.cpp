#include "net/settings_file.h"

#include "net/ini_section.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace net {

namespace {

// Larger files are not settings files; reading stops here.
constexpr std::streamsize kMaxFileBytes = 1 << 20;

bool is_name_char(unsigned char c) {
    return std::isalnum(c) != 0 || c == '.' || c == '-' || c == '_';
}

bool is_port(std::string_view s) {
    if (s.empty() || s.size() > 5)
        return false;
    if (!std::all_of(s.begin(), s.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
        return false;
    }
    const int port = std::stoi(std::string(s));
    return port >= 1 && port <= 65535;
}

// The domain word is matched inside user input: any visible text without
// blanks or control characters will do.
bool is_domain_word(std::string_view s) {
    return !s.empty() &&
           std::none_of(s.begin(), s.end(), [](unsigned char c) { return c <= ' ' || c == 0x7F; });
}

std::string* host_field(Hosts& hosts, const std::string& key) {
    if (key == "goods_page")
        return &hosts.goods_page;
    if (key == "search_api")
        return &hosts.search_api;
    if (key == "operations_api")
        return &hosts.operations_api;
    if (key == "vendor_info")
        return &hosts.vendor_info;
    return nullptr;
}

std::string problem(int line, std::string_view what) {
    return "line " + std::to_string(line) + ": " + std::string(what);
}

// Applies one "key = value" line of the hosts section.
void apply_hosts_entry(Settings& settings, int line, const std::string& key,
                       std::string_view value) {
    if (key == "domain_word") {
        if (is_domain_word(value)) {
            settings.hosts.domain_word = std::string(value);
        } else {
            settings.problems.push_back(problem(line, "domain_word is not a word; default kept"));
        }
        return;
    }
    std::string* field = host_field(settings.hosts, key);
    if (field == nullptr) {
        settings.problems.push_back(problem(line, "unknown key '" + key + "' ignored"));
    } else if (!is_host_setting(value)) {
        settings.problems.push_back(problem(line, key + " is not host[:port]; default kept"));
    } else {
        *field = std::string(value);
    }
}

// The sections the window and korvel-check read; another one is reported
// (a misspelt header would otherwise lose its settings without a word).
bool known_section(std::string_view name) {
    const std::string lower = lower_ascii(name);
    return lower == "hosts" || lower == "board" || lower == "service" || lower == "history" ||
           (lower.starts_with("notify.") && lower.size() > 7);
}

}  // namespace

bool is_host_setting(std::string_view text) {
    const auto colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    if (name.empty() || name.size() > 253)
        return false;
    if (!std::all_of(name.begin(), name.end(), is_name_char))
        return false;
    return colon == std::string_view::npos || is_port(text.substr(colon + 1));
}

std::vector<std::string> ini_layout_problems(std::string_view file_text) {
    IniFile file = read_ini(file_text);
    for (const IniSection& section : file.sections) {
        if (!known_section(section.name))
            file.problems.push_back(
                problem(section.line, "unknown section [" + section.name + "] ignored"));
    }
    return file.problems;
}

Settings parse_settings(std::string_view file_text, const Hosts& defaults) {
    Settings settings{defaults, ini_layout_problems(file_text)};
    for (const IniLine& line : ini_section(file_text, "hosts")) {
        if (!line.has_equals)
            settings.problems.push_back(problem(line.line, "no '=' in line; ignored"));
        else
            apply_hosts_entry(settings, line.line, line.key, line.value);
    }
    return settings;
}

Settings load_settings(const std::filesystem::path& file, const Hosts& defaults) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return Settings{defaults, {}};
    std::string text(static_cast<std::size_t>(kMaxFileBytes), '\0');
    in.read(text.data(), kMaxFileBytes);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return parse_settings(text, defaults);
}

}  // namespace net
