#if !defined(_WIN32)
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "board/board_lock_platform.h"

namespace board::lock_platform {
namespace {

std::string failure(const char* what, const std::filesystem::path& file, int error) {
    return std::string(what) + " " + utf8_text(file) + "：" + std::strerror(error);
}

}  // namespace

// flock, not fcntl: an fcntl lock belongs to the process, so a second open
// of the same board within one process would be let in, and closing any
// descriptor of the file would drop it. A flock lock belongs to the open
// file, ends with it, and is refused to every other open.
Opened lock_file(const std::filesystem::path& file) {
    int fd = -1;
    do {
        fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return {kNoHandle, LockState::failed, failure("无法打开锁文件", file, errno)};
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        return {fd, LockState::held, {}};
    }
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
        return {kNoHandle, LockState::busy, {}};
    }
    return {kNoHandle, LockState::failed, failure("无法锁定", file, error)};
}

void unlock_file(std::intptr_t handle) {
    const int fd = static_cast<int>(handle);
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

std::string file_identity(const std::filesystem::path& file) {
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0) {
        return {};
    }
    char text[48];
    std::snprintf(text, sizeof text, "%llx-%llx", static_cast<unsigned long long>(status.st_dev),
                  static_cast<unsigned long long>(status.st_ino));
    return text;
}

}  // namespace board::lock_platform
#endif
