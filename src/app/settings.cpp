#include "app/settings.h"

#include <QCoreApplication>
#include <iostream>

namespace app {

namespace {

service::ConfigurationSource& source() {
    static service::ConfigurationSource loaded(
        [] { return settings_path(); },
        [](const std::string& message) { std::cerr << "korvel: " << message << '\n'; });
    return loaded;
}

}  // namespace

net::SettingsPlaces settings_places() {
    return net::settings_places(
        {}, std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()));
}

std::filesystem::path settings_path() {
    return net::find_settings_file(settings_places());
}

service::Configuration configuration() {
    return source().current();
}

void apply_settings() {
    (void)source().reload();
}

board::BoardSettings board_settings() {
    return configuration().board;
}

void override_hosts(std::optional<net::Hosts> hosts) {
    source().override_hosts(std::move(hosts));
}

}  // namespace app
