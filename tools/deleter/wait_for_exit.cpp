#include "wait_for_exit.h"

#include <chrono>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace deleter {

#if defined(_WIN32)

void wait_for_exit(long pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr)
        return;
    WaitForSingleObject(process, INFINITE);
    CloseHandle(process);
}

#else

namespace {

bool is_alive(long pid) {
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// A process descriptor becomes readable when the process ends: no polling.
bool wait_on_process_descriptor(long pid) {
#if defined(SYS_pidfd_open)
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0));
    if (fd < 0)
        return errno == ESRCH;
    pollfd entry{fd, POLLIN, 0};
    while (poll(&entry, 1, -1) < 0 && errno == EINTR) {
    }
    close(fd);
    return true;
#else
    (void)pid;
    return false;
#endif
}

}  // namespace

void wait_for_exit(long pid) {
    if (wait_on_process_descriptor(pid))
        return;
    // Kernels without process descriptors: look again every 50 ms.
    while (is_alive(pid))
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

#endif

}  // namespace deleter
