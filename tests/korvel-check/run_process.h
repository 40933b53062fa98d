#pragma once
// Runs a program as a child process and collects what it wrote and how it ended.
#include <chrono>
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

// Where the child's standard output goes: a pipe, as in a shell pipeline,
// or a regular file, as in a redirection (`> out.csv`).
enum class StdoutTo { pipe, file };

// `program` with `args` (argv[1..]) and `env` added to the environment;
// stdin is empty, stdout is captured through a pipe or a file, stderr
// through a file in a temporary directory.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const Environment& env = {}, StdoutTo stdout_to = StdoutTo::pipe);

// A program started in the background (stdout discarded, stderr into
// `err_file` when one is named), killed with SIGKILL (on Windows: terminated)
// by kill_now() or at the latest when the object ends.
class StartedProcess {
  public:
    StartedProcess(const std::string& program, const std::vector<std::string>& args,
                   const Environment& env = {}, const std::string& err_file = "/dev/null");
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void kill_now();
    // Sends `signal` and waits at most `limit` for the exit: its code, or -1
    // when it did not exit normally in time (then it is killed).
    int end_with(int signal, std::chrono::milliseconds limit);

  private:
    int pid_ = -1;
    void* process_ = nullptr;  // Windows: the process handle
};

}  // namespace test
