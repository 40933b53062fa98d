#include "run_settings.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "exit_codes.h"
#include "net/settings_file.h"
#include "net/settings_location.h"
#include "program_location.h"

namespace cli {

namespace {

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void report(const std::filesystem::path& file, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        std::cerr << kProgramName << ": " << file.string() << ": " << problem << '\n';
}

void apply(const SchedulerOverrides& given, board::BoardSettings& settings) {
    if (given.max_in_flight)
        settings.max_in_flight = *given.max_in_flight;
    if (given.pages_per_second)
        settings.pages_per_second = *given.pages_per_second;
    if (given.retries)
        settings.retries = *given.retries;
    if (given.min_pages_per_second)
        settings.min_pages_per_second = *given.min_pages_per_second;
    if (given.speed_up_after)
        settings.speed_up_after = *given.speed_up_after;
    if (given.give_up_after)
        settings.give_up_after = *given.give_up_after;
    if (given.max_pause_s)
        settings.max_pause_s = *given.max_pause_s;
    if (given.pause_budget_s)
        settings.pause_budget_s = *given.pause_budget_s;
}

}  // namespace

std::filesystem::path run_settings_file(const CheckOptions& options) {
    const std::filesystem::path named =
        options.config ? std::filesystem::path(*options.config) : std::filesystem::path();
    return net::find_settings_file(net::settings_places(named, executable_directory()));
}

std::optional<RunSettings> load_run_settings(const CheckOptions& options) {
    const std::filesystem::path file = run_settings_file(options);
    const bool exists = !file.empty();
    if (options.config && !exists)
        return std::nullopt;
    const std::string text = exists ? file_text(file) : std::string();
    const net::Settings hosts = net::parse_settings(text, net::default_hosts());
    report(file, hosts.problems);
    board::ParsedBoardSettings scheduler = board::parse_board_settings(text);
    report(file, scheduler.messages);
    apply(options.scheduler, scheduler.settings);
    return RunSettings{hosts.hosts, scheduler.settings, file};
}

}  // namespace cli
