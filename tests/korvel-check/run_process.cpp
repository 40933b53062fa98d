#include "run_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>

#include "plain/temp_dir.h"

namespace test {

namespace {

std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// In the child: point fd at `file` (opened for writing, or /dev/null for reading).
void redirect(int fd, const char* file, int flags) {
    const int opened = ::open(file, flags, 0600);
    if (opened < 0 || ::dup2(opened, fd) < 0)
        ::_exit(127);
    ::close(opened);
}

// This process's environment with `env` in place of the variables it names,
// built before fork: the child of a threaded parent may only exec.
std::vector<std::string> environment_with(const Environment& env) {
    std::vector<std::string> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        const bool replaced =
            std::any_of(env.begin(), env.end(), [&](const auto& e) { return e.first == name; });
        if (!replaced)
            out.push_back(text);
    }
    for (const auto& [name, value] : env)
        out.push_back(name + "=" + value);
    return out;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> out;
    for (std::string& word : words)
        out.push_back(word.data());
    out.push_back(nullptr);
    return out;
}

// `out_pipe` is the write end of a pipe for stdout, or -1 for `out_file`.
pid_t spawn(const std::string& program, std::vector<char*>& argv, std::vector<char*>& envp,
            const std::string& out_file, const std::string& err_file, int out_pipe = -1) {
    const pid_t child = ::fork();
    if (child == 0) {
        redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
        if (out_pipe >= 0) {
            if (::dup2(out_pipe, STDOUT_FILENO) < 0)
                ::_exit(127);
        } else {
            redirect(STDOUT_FILENO, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        }
        redirect(STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    return child;
}

}  // namespace

StartedProcess::StartedProcess(const std::string& program, const std::vector<std::string>& args,
                               const Environment& env) {
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = pointers(words);
    std::vector<std::string> variables = environment_with(env);
    std::vector<char*> envp = pointers(variables);
    pid_ = spawn(program, argv, envp, "/dev/null", "/dev/null");
}

StartedProcess::~StartedProcess() {
    kill_now();
}

void StartedProcess::kill_now() {
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

int StartedProcess::stop_with(int signal) {
    if (pid_ <= 0)
        return -1;
    ::kill(pid_, signal);
    int status = 0;
    const bool ended = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {

// Everything written into the pipe until its last writer closes it.
std::string drained(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            return text;
    }
}

}  // namespace

ProcessResult run_process(const std::string& program, const std::vector<std::string>& args,
                          const Environment& env, StdoutTo stdout_to) {
    TempDir dir;
    const std::string out_file = dir.file("out").string();
    const std::string err_file = dir.file("err").string();
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv = pointers(words);
    std::vector<std::string> variables = environment_with(env);
    std::vector<char*> envp = pointers(variables);

    int ends[2] = {-1, -1};
    if (stdout_to == StdoutTo::pipe && ::pipe2(ends, O_CLOEXEC) != 0)
        return {};
    const pid_t child = spawn(program, argv, envp, out_file, err_file, ends[1]);
    ProcessResult result;
    if (stdout_to == StdoutTo::pipe) {
        ::close(ends[1]);
        result.out = drained(ends[0]);
        ::close(ends[0]);
    }
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    if (stdout_to == StdoutTo::file)
        result.out = file_text(out_file);
    result.err = file_text(err_file);
    return result;
}

}  // namespace test
