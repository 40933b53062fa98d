#include "service/configuration.h"

#include <fstream>
#include <iterator>

#include "net/settings_file.h"
#include "notify/channels_file.h"

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

}  // namespace

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
