#include "worker_fleet.h"

#include <signal.h>

#include <fstream>

#include "run_process.h"
#include "settings_text.h"
#include "sim_server.h"

namespace bench {

struct WorkerFleet::Worker {
    std::filesystem::path home;
    std::unique_ptr<sim::Server> simulator;
    std::unique_ptr<test::StartedProcess> process;

    std::filesystem::path said_file() const { return home / "serve.err"; }
};

WorkerFleet::WorkerFleet(const FleetSettings& settings) {
    for (int i = 1; i <= settings.workers; ++i) {
        auto worker = std::make_unique<Worker>();
        worker->home = dir_.file("w" + std::to_string(i));
        sim::Options options;
        options.port = 0;
        options.rate_limit = settings.rate_limit;
        worker->simulator = std::make_unique<sim::Server>(options);
        if (worker->simulator->start()) {
            std::filesystem::create_directories(worker->home / "config/korvel");
            std::ofstream(worker->home / "config/korvel/korvel.ini")
                << test::settings_text(worker->simulator->host(), settings.board_section)
                << "[service]\nworker=w" << i << "\n";
        }
        workers_.push_back(std::move(worker));
    }
}

WorkerFleet::~WorkerFleet() = default;

bool WorkerFleet::start(const history::Location& history) {
    for (const auto& worker : workers_) {
        if (worker->simulator->port() <= 0)
            return false;
        const test::Environment env{{"XDG_CONFIG_HOME", (worker->home / "config").string()},
                                    {"XDG_DATA_HOME", (worker->home / "data").string()}};
        worker->process = std::make_unique<test::StartedProcess>(
            KORVEL_CHECK_EXE, std::vector<std::string>{"--serve", "--db", history.text()}, env,
            worker->said_file().string());
        if (!worker->process->started())
            return false;
    }
    return true;
}

std::vector<int> WorkerFleet::stop() {
    std::vector<int> codes;
    for (const auto& worker : workers_) {
        codes.push_back(
            worker->process ? worker->process->end_with(SIGTERM, std::chrono::seconds(15)) : -1);
    }
    return codes;
}

int WorkerFleet::listing_pages() const {
    int pages = 0;
    for (const auto& worker : workers_)
        pages += worker->simulator->counts().listing_pages();
    return pages;
}

int WorkerFleet::rate_limited() const {
    int limited = 0;
    for (const auto& worker : workers_)
        limited += worker->simulator->counts().rate_limited_total();
    return limited;
}

std::string WorkerFleet::said(std::size_t i) const {
    return i < workers_.size() ? test::file_bytes(workers_[i]->said_file()) : std::string();
}

}  // namespace bench
