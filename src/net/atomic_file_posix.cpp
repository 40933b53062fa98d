#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/atomic_file.h"

namespace net {

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now; false when closing reported a failed write.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

std::string failed(std::string_view what, const std::filesystem::path& path) {
    return std::string(what) + " " + path.string() + ": " + std::strerror(errno);
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// New files are readable by all, like a file an editor writes; a replaced
// file keeps its own mode.
mode_t mode_for(const std::filesystem::path& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
}

}  // namespace

std::string write_file_atomically(const std::filesystem::path& file, std::string_view bytes,
                                  const std::function<void()>& before_rename, FileAccess access) {
    const std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        return "cannot create " + dir.string() + ": " + error.message();
    std::filesystem::path pattern = dir / file.filename();
    pattern += ".XXXXXX";
    std::string temp = pattern.string();
    FileDescriptor out(::mkstemp(temp.data()));
    if (out.get() < 0)
        return failed("cannot create a file in", dir);
    const mode_t mode = access == FileAccess::owner_only ? mode_t{0600} : mode_for(file);
    const bool written =
        ::fchmod(out.get(), mode) == 0 && write_all(out.get(), bytes) && ::fsync(out.get()) == 0;
    if (!written || !out.close()) {
        const std::string problem = failed("cannot write", temp);
        ::unlink(temp.c_str());
        return problem;
    }
    if (before_rename)
        before_rename();
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        const std::string problem = failed("cannot replace", file);
        ::unlink(temp.c_str());
        return problem;
    }
    // The rename itself lives in the directory: flush it too.
    FileDescriptor directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY));
    if (directory.get() >= 0)
        ::fsync(directory.get());
    return {};
}

}  // namespace net
#endif
