#pragma once
// Runs a program as a child process and collects what it wrote and how it ended.
#include <string>
#include <utility>
#include <vector>

namespace test {

struct ProcessResult {
    int exit_code = -1;  // -1 when it did not exit normally
    std::string out;
    std::string err;
};

using Environment = std::vector<std::pair<std::string, std::string>>;

// `program` with `args` (argv[1..]) and `env` added to the environment;
// stdin is empty, stdout and stderr are captured through files in a
// temporary directory.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const Environment& env = {});

// A program started in the background (output discarded), killed with
// SIGKILL by kill_now() or at the latest when the object ends.
class StartedProcess {
  public:
    StartedProcess(const std::string& program, const std::vector<std::string>& args,
                   const Environment& env = {});
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void kill_now();

  private:
    int pid_ = -1;
};

}  // namespace test
