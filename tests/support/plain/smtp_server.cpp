#include "plain/smtp_server.h"

#include <cctype>
#include <optional>

namespace test {

namespace {

// Reads CR LF lines off a socket, giving up when the server stops.
class LineReader {
  public:
    LineReader(sockets::Socket fd, const std::atomic<bool>& stopping)
        : fd_(fd), stopping_(stopping) {}

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
        while (!stopping_) {
            if (sockets::wait_readable(fd_, sockets::kNoSocket, 50) == sockets::Ready::data) {
                char chunk[4096];
                const long n = sockets::receive(fd_, chunk, sizeof chunk);
                if (n <= 0)
                    return false;
                buffer_.append(chunk, static_cast<std::size_t>(n));
                return true;
            }
        }
        return false;
    }

    sockets::Socket fd_;
    const std::atomic<bool>& stopping_;
    std::string buffer_;
};

void say(sockets::Socket fd, const std::string& reply) {
    sockets::send_some(fd, reply + "\r\n");
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
    listen_fd_ = sockets::listen_loopback(0, &port_, 8);
    acceptor_ = std::thread([this] { accept_loop(); });
}

SmtpServer::~SmtpServer() {
    stopping_ = true;
    acceptor_.join();
    sockets::close_socket(listen_fd_);
}

std::vector<SmtpSession> SmtpServer::sessions() const {
    std::lock_guard lock(mutex_);
    return sessions_;
}

void SmtpServer::accept_loop() {
    while (!stopping_) {
        if (sockets::wait_readable(listen_fd_, sockets::kNoSocket, 50) != sockets::Ready::data)
            continue;
        const sockets::Socket fd = sockets::accept_from(listen_fd_);
        if (fd != sockets::kNoSocket) {
            serve(fd);
            sockets::close_socket(fd);
        }
    }
}

void SmtpServer::serve(sockets::Socket fd) {
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
