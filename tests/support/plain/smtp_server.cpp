#include "plain/smtp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <optional>

namespace test {

namespace {

// Reads CR LF lines off a socket, giving up when the server stops.
class LineReader {
  public:
    LineReader(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

    std::optional<std::string> line() {
        for (;;) {
            if (const auto end = buffer_.find("\r\n"); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 2);
                return line;
            }
            if (!fill())
                return std::nullopt;
        }
    }

  private:
    bool fill() {
        pollfd p{fd_, POLLIN, 0};
        while (!stopping_) {
            if (::poll(&p, 1, 50) > 0) {
                char chunk[4096];
                const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
                if (n <= 0)
                    return false;
                buffer_.append(chunk, static_cast<std::size_t>(n));
                return true;
            }
        }
        return false;
    }

    int fd_;
    const std::atomic<bool>& stopping_;
    std::string buffer_;
};

void say(int fd, const std::string& reply) {
    const std::string line = reply + "\r\n";
    (void)::send(fd, line.data(), line.size(), MSG_NOSIGNAL);
}

bool starts_with_word(const std::string& line, const std::string& word) {
    if (line.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(line[i])) != word[i])
            return false;
    }
    return true;
}

}  // namespace

SmtpServer::SmtpServer(std::string data_reply) : data_reply_(std::move(data_reply)) {
    listen_fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (::bind(listen_fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(listen_fd_, 8) == 0 &&
        ::getsockname(listen_fd_, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
        port_ = ntohs(address.sin_port);
    }
    acceptor_ = std::thread([this] { accept_loop(); });
}

SmtpServer::~SmtpServer() {
    stopping_ = true;
    acceptor_.join();
    ::close(listen_fd_);
}

std::vector<SmtpSession> SmtpServer::sessions() const {
    std::lock_guard lock(mutex_);
    return sessions_;
}

void SmtpServer::accept_loop() {
    pollfd p{listen_fd_, POLLIN, 0};
    while (!stopping_) {
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            serve(fd);
            ::close(fd);
        }
    }
}

void SmtpServer::serve(int fd) {
    {
        std::lock_guard lock(mutex_);
        sessions_.emplace_back();
    }
    const auto keep = [&](auto change) {
        std::lock_guard lock(mutex_);
        change(sessions_.back());
    };
    LineReader reader(fd, stopping_);
    say(fd, "220 test ESMTP");
    while (auto line = reader.line()) {
        keep([&](SmtpSession& s) { s.commands.push_back(*line); });
        if (starts_with_word(*line, "EHLO")) {
            say(fd, "250-test\r\n250-AUTH PLAIN\r\n250 8BITMIME");
        } else if (starts_with_word(*line, "AUTH PLAIN")) {
            if (line->size() <= 11) {  // the credentials follow on a line of their own
                say(fd, "334 ");
                const auto credentials = reader.line();
                keep([&](SmtpSession& s) { s.commands.push_back(credentials.value_or("")); });
            }
            say(fd, "235 accepted");
        } else if (starts_with_word(*line, "DATA")) {
            say(fd, "354 go ahead");
            std::string data;
            for (auto body = reader.line(); body && *body != "."; body = reader.line())
                data += (body->starts_with("..") ? body->substr(1) : *body) + "\r\n";
            keep([&](SmtpSession& s) { s.data = data; });
            say(fd, data_reply_);
        } else if (starts_with_word(*line, "QUIT")) {
            say(fd, "221 bye");
            return;
        } else if (starts_with_word(*line, "MAIL") || starts_with_word(*line, "RCPT") ||
                   starts_with_word(*line, "RSET") || starts_with_word(*line, "NOOP")) {
            say(fd, "250 ok");
        } else {
            say(fd, "502 not here");
        }
    }
}

}  // namespace test
