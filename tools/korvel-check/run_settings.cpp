#include "run_settings.h"

#include <iostream>

#include "exit_codes.h"
#include "net/settings_location.h"
#include "program_location.h"

namespace cli {

namespace {

void report(const std::string& message) {
    std::cerr << kProgramName << ": " << message << '\n';
}

}  // namespace

void apply_overrides(const CheckOptions& options, board::BoardSettings& settings) {
    const SchedulerOverrides& given = options.scheduler;
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

std::filesystem::path run_settings_file(const CheckOptions& options) {
    const std::filesystem::path named =
        options.config ? std::filesystem::path(*options.config) : std::filesystem::path();
    return net::find_settings_file(net::settings_places(named, executable_directory()));
}

std::optional<service::Configuration> load_run_settings(const CheckOptions& options) {
    const std::filesystem::path file = run_settings_file(options);
    if (options.config && file.empty())
        return std::nullopt;
    service::Configuration configuration = service::load_configuration(file);
    for (const std::string& message : configuration.messages)
        report(message);
    apply_overrides(options, configuration.board);
    return configuration;
}

std::shared_ptr<service::ConfigurationSource> run_settings_source(const CheckOptions& options) {
    if (options.config && run_settings_file(options).empty())
        return nullptr;
    return std::make_shared<service::ConfigurationSource>(
        [options] { return run_settings_file(options); }, report);
}

}  // namespace cli
