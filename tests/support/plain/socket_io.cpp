#include "plain/socket_io.h"

#if defined(_WIN32)
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace test::sockets {

namespace {

#if defined(_WIN32)
using Length = int;
constexpr int kNoSignal = 0;
constexpr int kShutBoth = SD_BOTH;

int poll_sockets(pollfd* waits, unsigned long count, int timeout_ms) {
    return WSAPoll(waits, count, timeout_ms);
}

Socket new_socket() {
    static const bool started = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        return kNoSocket;
    return WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
}

// Windows lets SO_REUSEADDR take over a port another socket listens on;
// plain binding already allows a port in TIME_WAIT there.
void allow_reuse(Socket) {}
#else
using Length = socklen_t;
constexpr int kNoSignal = MSG_NOSIGNAL;
constexpr int kShutBoth = SHUT_RDWR;

int poll_sockets(pollfd* waits, nfds_t count, int timeout_ms) {
    return ::poll(waits, count, timeout_ms);
}

Socket new_socket() {
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

void allow_reuse(Socket s) {
    const int yes = 1;
    ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}
#endif

sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

}  // namespace

Socket listen_loopback(int port, int* bound_port, int backlog) {
    const Socket s = new_socket();
    if (s == kNoSocket)
        return kNoSocket;
    allow_reuse(s);
    sockaddr_in address = loopback(port);
    Length size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(s, backlog) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        close_socket(s);
        return kNoSocket;
    }
    *bound_port = ntohs(address.sin_port);
    return s;
}

Socket accept_from(Socket listener) {
#if defined(_WIN32)
    // An accepted socket takes the listener's attributes: not inherited.
    const Socket s = ::accept(listener, nullptr, nullptr);
#else
    const Socket s = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
#endif
    return s;  // kNoSocket on failure on both
}

Ready wait_readable(Socket s, Socket wake, int timeout_ms) {
    pollfd waits[2] = {{s, POLLIN, 0}, {wake, POLLIN, 0}};
    const int got = poll_sockets(waits, wake == kNoSocket ? 1 : 2, timeout_ms);
    if (got < 0)
        return Ready::failed;
    if (got == 0)
        return Ready::timed_out;
    if (wake != kNoSocket && waits[1].revents != 0)
        return Ready::woken;
    return Ready::data;
}

long receive(Socket s, char* buffer, std::size_t size) {
    return ::recv(s, buffer, static_cast<Length>(size), 0);
}

long send_some(Socket s, std::string_view bytes) {
    return ::send(s, bytes.data(), static_cast<Length>(bytes.size()), kNoSignal);
}

void shut_down(Socket s) {
    ::shutdown(s, kShutBoth);
}

void close_socket(Socket s) {
    if (s == kNoSocket)
        return;
#if defined(_WIN32)
    ::closesocket(s);
#else
    ::close(s);
#endif
}

bool make_wake_pair(Socket pair[2]) {
#if defined(_WIN32)
    int port = 0;
    const Socket listener = listen_loopback(0, &port, 1);
    if (listener == kNoSocket)
        return false;
    pair[1] = new_socket();
    const sockaddr_in address = loopback(port);
    const bool connected =
        pair[1] != kNoSocket &&
        ::connect(pair[1], reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    pair[0] = connected ? accept_from(listener) : kNoSocket;
    close_socket(listener);
    return pair[0] != kNoSocket;
#else
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    pair[0] = ends[0];
    pair[1] = ends[1];
    return true;
#endif
}

void wake(Socket s) {
    const char byte = 1;
    send_some(s, std::string_view(&byte, 1));
}

}  // namespace test::sockets
