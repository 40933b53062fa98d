#include "run_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace

ProcessResult run_process(const std::string& program, const std::vector<std::string>& args) {
    TempDir dir;
    const std::string out_file = dir.file("out").string();
    const std::string err_file = dir.file("err").string();
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        redirect(STDIN_FILENO, "/dev/null", O_RDONLY);
        redirect(STDOUT_FILENO, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        redirect(STDERR_FILENO, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ProcessResult result;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exit_code = WEXITSTATUS(status);
    result.out = file_text(out_file);
    result.err = file_text(err_file);
    return result;
}

}  // namespace test
