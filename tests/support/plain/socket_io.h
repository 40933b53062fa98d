#pragma once
// The few socket calls the test servers make, the same on POSIX and on
// Windows (Winsock, started on first use). Sockets made here are never
// inherited by a child process.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace test::sockets {

#if defined(_WIN32)
using Socket = std::uintptr_t;  // SOCKET
#else
using Socket = int;
#endif
inline constexpr Socket kNoSocket = static_cast<Socket>(-1);

// A TCP socket listening on 127.0.0.1 (port 0: a free one, written to
// `bound_port`), or kNoSocket.
Socket listen_loopback(int port, int* bound_port, int backlog = 64);
Socket accept_from(Socket listener);

enum class Ready { data, woken, timed_out, failed };
// Waits until `s` can be read, or `wake` (kNoSocket: none) can; timeout_ms < 0 waits on.
Ready wait_readable(Socket s, Socket wake, int timeout_ms);

// Bytes read (0 at the peer's end, < 0 on error); bytes sent (never a SIGPIPE).
long receive(Socket s, char* buffer, std::size_t size);
long send_some(Socket s, std::string_view bytes);
void shut_down(Socket s);
void close_socket(Socket s);

// A connected pair: a byte sent into [1] by wake() makes [0] readable.
bool make_wake_pair(Socket pair[2]);
void wake(Socket s);

}  // namespace test::sockets
