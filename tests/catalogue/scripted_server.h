#pragma once
// A loopback HTTP server for catalogue tests whose answers the test writes:
// each GET target (path and query, as sent) maps to a body, or to a function
// that gives one per call. Unknown targets get 404 with an empty body.
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace catalogue_test {

class ScriptedServer {
  public:
    ScriptedServer();
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    // Function answers get the 1-based number of the call to their target.
    void answer(const std::string& target, std::string body);
    void answer(const std::string& target, std::function<std::string(int call)> body);

    std::string host() const;                  // "127.0.0.1:PORT"
    std::vector<std::string> targets() const;  // every target received, in order
    int count(const std::string& target) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace catalogue_test
