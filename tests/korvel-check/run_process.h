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

// Where the child's standard output goes: a pipe, as in a shell pipeline,
// or a regular file, as in a redirection (`> out.csv`).
enum class StdoutTo { pipe, file };

// `program` with `args` (argv[1..]) and `env` added to the environment;
// stdin is empty, stdout is captured through a pipe or a file, stderr
// through a file in a temporary directory.
ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const Environment& env = {}, StdoutTo stdout_to = StdoutTo::pipe);

// A program started in the background (output discarded), killed with
// SIGKILL by kill_now() or at the latest when the object ends, unless
// stop_with() saw it end.
class StartedProcess {
  public:
    StartedProcess(const std::string& program, const std::vector<std::string>& args,
                   const Environment& env = {});
    ~StartedProcess();
    StartedProcess(const StartedProcess&) = delete;
    StartedProcess& operator=(const StartedProcess&) = delete;

    bool started() const { return pid_ > 0; }
    void kill_now();
    // Sends `signal` and waits for the program to end: its exit code, or -1
    // when the signal (or anything else) ended it.
    int stop_with(int signal);

  private:
    int pid_ = -1;
};

}  // namespace test
