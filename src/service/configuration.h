#pragma once
// What a program reads from korvel.ini, in one place for the window and the
// command line: the hosts, the board's politeness ([board]) and the notice
// channels ([notify.NAME]) and where the history lives ([history]). It travels as a value to
// whoever needs it (a board run, a query, a loader); nothing reads it from a global.
//
//   service::ConfigurationSource source(locate_file, print_line);
//   const service::Configuration now = source.current();  // read again when the file changed
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "board/board_settings.h"
#include "net/hosts.h"
#include "notify/channel.h"
#include "service/history_setting.h"

namespace service {

// The [service] section: who this worker is, and how long its hold on a
// board of a shared history lasts unless renewed.
struct ServiceSettings {
    std::string worker;  // empty: this computer's name
    int lease_s = 120;
};

// [service] of the file's text; what was left out goes to `messages`.
ServiceSettings parse_service_settings(std::string_view ini_text,
                                       std::vector<std::string>& messages);

struct Configuration {
    std::filesystem::path file;  // the settings file read; empty: none, the built-in defaults
    net::Hosts hosts = net::default_hosts();
    board::BoardSettings board;
    std::vector<notify::Channel> channels;
    ServiceSettings service;
    HistorySetting history;
    // What was left out and why, one line each (UTF-8, no secret), for stderr.
    std::vector<std::string> messages;
};

// Reads `file` (empty or missing: the built-in defaults, no channel).
Configuration load_configuration(const std::filesystem::path& file);

// The configuration of the settings file in use, read again only when that
// file (which may change: the settings dialog writes a new one) or its
// modification time or size changed. Thread-safe.
class ConfigurationSource {
  public:
    using Locate = std::function<std::filesystem::path()>;  // empty path: no file
    using Report = std::function<void(const std::string&)>;

    // `report` gets the messages of every reading, once per reading.
    ConfigurationSource(Locate locate, Report report);

    Configuration current();
    // Reads the file again whether or not it seems changed.
    Configuration reload();
    // Hosts that win over the file's (a test's or a renderer's own server); none: the file's.
    void override_hosts(std::optional<net::Hosts> hosts);

  private:
    struct Stamp {
        std::filesystem::path file;
        std::int64_t modified = 0;
        std::uintmax_t size = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stamp_of(const std::filesystem::path& file);
    Configuration read(const Stamp& stamp);

    Locate locate_;
    Report report_;
    std::mutex mutex_;
    std::optional<Stamp> stamp_;
    Configuration cached_;
    std::optional<net::Hosts> hosts_override_;
};

}  // namespace service
