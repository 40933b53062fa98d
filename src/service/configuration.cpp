#include "service/configuration.h"

#include <charconv>
#include <fstream>
#include <iterator>

#include "net/ini_section.h"
#include "net/settings_file.h"
#include "notify/channels_file.h"
#include "service/machine_name.h"

namespace service {

namespace {

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void add_messages(std::vector<std::string>& to, const std::filesystem::path& file,
                  const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        to.push_back(file.string() + ": " + problem);
}

constexpr int kShortestLease = 1;
constexpr int kLongestLease = 3600;

}  // namespace

ServiceSettings parse_service_settings(std::string_view ini_text,
                                       std::vector<std::string>& messages) {
    ServiceSettings service;
    for (const net::IniLine& line : net::ini_section(ini_text, "service")) {
        const std::string where = "line " + std::to_string(line.line) + ": ";
        if (!line.has_equals) {
            messages.push_back(where + "no '=' in line; ignored");
        } else if (line.key == "worker") {
            service.worker = line.value;
        } else if (line.key == "lease_s") {
            int seconds = 0;
            const char* end = line.value.data() + line.value.size();
            const auto [stop, error] = std::from_chars(line.value.data(), end, seconds);
            if (error == std::errc() && stop == end && seconds >= kShortestLease &&
                seconds <= kLongestLease)
                service.lease_s = seconds;
            else
                messages.push_back(where + "lease_s = " + line.value +
                                   " is not a whole number of seconds in 1..3600; default " +
                                   std::to_string(service.lease_s) + " kept");
        } else {
            messages.push_back(where + "unknown key '" + line.key + "' ignored");
        }
    }
    if (service.worker.empty())
        service.worker = machine_name();
    return service;
}

Configuration load_configuration(const std::filesystem::path& file) {
    Configuration c;
    c.file = file;
    const std::string text = file.empty() ? std::string() : file_text(file);
    const net::Settings hosts = net::parse_settings(text, net::default_hosts());
    c.hosts = hosts.hosts;
    add_messages(c.messages, file, hosts.problems);
    board::ParsedBoardSettings pace = board::parse_board_settings(text);
    c.board = pace.settings;
    add_messages(c.messages, file, pace.messages);
    std::vector<std::string> service_messages;
    c.service = parse_service_settings(text, service_messages);
    add_messages(c.messages, file, service_messages);
    std::vector<std::string> history_messages;
    c.history = parse_history_setting(text, history_messages);
    add_messages(c.messages, file, history_messages);
    notify::LoadedChannels channels = notify::load_channels(file);
    c.channels = std::move(channels.channels);
    c.messages.insert(c.messages.end(), channels.messages.begin(), channels.messages.end());
    return c;
}

ConfigurationSource::ConfigurationSource(Locate locate, Report report)
    : locate_(std::move(locate)), report_(std::move(report)) {}

ConfigurationSource::Stamp ConfigurationSource::stamp_of(const std::filesystem::path& file) {
    Stamp stamp{file, 0, 0};
    std::error_code error;
    if (file.empty())
        return stamp;
    const auto modified = std::filesystem::last_write_time(file, error);
    if (!error)
        stamp.modified = static_cast<std::int64_t>(modified.time_since_epoch().count());
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    stamp.size = error ? 0 : size;
    return stamp;
}

Configuration ConfigurationSource::read(const Stamp& stamp) {
    cached_ = load_configuration(stamp.file);
    stamp_ = stamp;
    if (report_) {
        for (const std::string& message : cached_.messages)
            report_(message);
    }
    Configuration c = cached_;
    if (hosts_override_)
        c.hosts = *hosts_override_;
    return c;
}

Configuration ConfigurationSource::current() {
    const Stamp now = stamp_of(locate_ ? locate_() : std::filesystem::path());
    std::lock_guard lock(mutex_);
    if (stamp_ && *stamp_ == now) {
        Configuration c = cached_;
        if (hosts_override_)
            c.hosts = *hosts_override_;
        return c;
    }
    return read(now);
}

Configuration ConfigurationSource::reload() {
    const Stamp now = stamp_of(locate_ ? locate_() : std::filesystem::path());
    std::lock_guard lock(mutex_);
    return read(now);
}

void ConfigurationSource::override_hosts(std::optional<net::Hosts> hosts) {
    std::lock_guard lock(mutex_);
    hosts_override_ = std::move(hosts);
}

}  // namespace service
