#pragma once
// The local stand-in for the marketplace and the vendor info server: a real
// HTTP server on 127.0.0.1, usable in-process by tests and as a program.
#include <cstdint>
#include <memory>
#include <string>

namespace sim {

struct Options {
    int port = 18080;  // 0: any free port
    std::uint32_t seed = 1;
    std::string version = "2.0";  // the published version record
    // Further options (announcement, delays, faults …) are added by the simulator.
};

class Server {
public:
    explicit Server(Options options = {});
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    bool start();  // listens on 127.0.0.1; false when the port is taken
    void stop();
    int port() const;
    std::string host() const;  // "127.0.0.1:PORT", as a host setting

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace sim
