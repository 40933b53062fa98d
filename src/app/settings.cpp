#include "app/settings.h"

#include <QCoreApplication>
#include <fstream>
#include <iostream>
#include <iterator>
#include <mutex>

#include "net/hosts.h"

namespace app {

namespace {

// Read by the GUI thread and by board runs' threads when they start.
std::mutex board_mutex;
board::BoardSettings applied_board;

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void report(const std::filesystem::path& file, const std::vector<std::string>& problems) {
    for (const std::string& problem : problems)
        std::cerr << "korvel: " << file.string() << ": " << problem << '\n';
}

}  // namespace

net::SettingsPlaces settings_places() {
    return net::settings_places(
        {}, std::filesystem::path(QCoreApplication::applicationDirPath().toStdU16String()));
}

std::filesystem::path settings_path() {
    return net::find_settings_file(settings_places());
}

void apply_settings() {
    const std::filesystem::path file = settings_path();
    const std::string text = file.empty() ? std::string() : file_text(file);
    const Settings settings = parse_settings(text, net::default_hosts());
    report(file, settings.problems);
    net::set_hosts(settings.hosts);
    board::ParsedBoardSettings parsed = board::parse_board_settings(text);
    report(file, parsed.messages);
    const std::lock_guard lock(board_mutex);
    applied_board = parsed.settings;
}

board::BoardSettings board_settings() {
    const std::lock_guard lock(board_mutex);
    return applied_board;
}

}  // namespace app
