#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdlib>

#include "app/platform.h"

namespace app {

namespace {

// Signal handlers may only write to a descriptor; the GUI thread reads the
// other end through a socket notifier (the self-pipe trick).
int g_signal_pipe[2] = {-1, -1};

extern "C" void on_signal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(g_signal_pipe[0], &byte, 1);
}

}  // namespace

void prepare_browser_environment() {
    if (::geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
}

void on_termination_request(std::function<void()> request_close) {
    if (g_signal_pipe[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signal_pipe) != 0)
        return;
    for (int fd : g_signal_pipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    for (int fd : g_signal_pipe)
        ::fcntl(fd, F_SETFL, O_NONBLOCK);

    auto* notifier =
        new QSocketNotifier(g_signal_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [request_close = std::move(request_close)] {
                         char bytes[16];
                         while (::read(g_signal_pipe[1], bytes, sizeof bytes) > 0) {
                         }
                         request_close();
                     });

    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal_number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal_number, &action, nullptr);
}

}  // namespace app
#endif
