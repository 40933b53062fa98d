// marketplace-sim: the local marketplace and vendor info server as a program.
// Runs until SIGINT or SIGTERM.
#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "sim_cli.h"
#include "sim_server.h"

namespace {

bool read_file(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return static_cast<bool>(in) || in.eof();
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto line = sim::parse_command_line(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!line) {
        std::cerr << "marketplace-sim: " << error << "\n" << sim::usage();
        return 2;
    }
    if (line->help) {
        std::cout << sim::usage();
        return 0;
    }
    if (!line->download_file.empty() &&
        !read_file(line->download_file, line->options.download_body)) {
        std::cerr << "marketplace-sim: cannot read " << line->download_file << "\n";
        return 2;
    }

    // Block the stop signals before any server thread exists, so only the
    // sigwait below receives them.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    sim::Server server(line->options);
    if (!server.start()) {
        std::cerr << "marketplace-sim: cannot listen on 127.0.0.1:" << line->options.port << "\n";
        return 1;
    }
    std::cout << "marketplace-sim listening on http://" << server.host() << std::endl;

    int received = 0;
    sigwait(&stop_signals, &received);
    server.stop();
    std::cout << "marketplace-sim stopped" << std::endl;
    return 0;
}
