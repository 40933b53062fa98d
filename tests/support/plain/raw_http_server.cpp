#include "plain/raw_http_server.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace test {

namespace {

std::string with_length(std::string status_line, const std::string& body,
                        const std::string& extra_headers) {
    return status_line + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" +
           extra_headers + "\r\n";
}

// The Content-Length value of a request head, or 0.
std::size_t content_length(std::string_view head) {
    std::string lower(head);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos) {
        return 0;
    }
    return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

}  // namespace

Reply Reply::ok(std::string body, std::string extra_headers) {
    return status("HTTP/1.1 200 OK", std::move(body), std::move(extra_headers));
}

Reply Reply::status(std::string status_line, std::string body, std::string extra_headers) {
    Reply reply;
    reply.head = with_length(std::move(status_line), body, extra_headers);
    reply.body = std::move(body);
    return reply;
}

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler)) {
    start(0);
}

RawHttpServer::RawHttpServer(Reply fixed)
    : handler_([fixed](const std::string&) { return fixed; }) {
    start(0);
}

RawHttpServer::RawHttpServer(Reply fixed, int port)
    : handler_([fixed](const std::string&) { return fixed; }) {
    start(port);
}

void RawHttpServer::start(int port) {
    listen_fd_ = sockets::listen_loopback(port, &port_);
    if (listen_fd_ == sockets::kNoSocket || !sockets::make_wake_pair(stop_pipe_)) {
        return;
    }
    acceptor_ = std::thread([this] { accept_loop(); });
}

RawHttpServer::~RawHttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_.store(true);
        for (const sockets::Socket fd : open_fds_) {
            sockets::shut_down(fd);
        }
    }
    changed_.notify_all();
    if (stop_pipe_[1] != sockets::kNoSocket) {
        sockets::wake(stop_pipe_[1]);
    }
    if (acceptor_.joinable()) {
        acceptor_.join();
    }
    for (auto& thread : threads_) {
        thread.join();
    }
    for (const sockets::Socket fd : {listen_fd_, stop_pipe_[0], stop_pipe_[1]}) {
        sockets::close_socket(fd);
    }
}

std::string RawHttpServer::url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> RawHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t RawHttpServer::request_count() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

std::string RawHttpServer::last_request() const {
    std::lock_guard lock(mutex_);
    return requests_.empty() ? std::string() : requests_.back();
}

void RawHttpServer::release() {
    {
        std::lock_guard lock(mutex_);
        released_ = true;
    }
    changed_.notify_all();
}

void RawHttpServer::accept_loop() {
    for (;;) {
        if (sockets::wait_readable(listen_fd_, stop_pipe_[0], -1) != sockets::Ready::data) {
            return;
        }
        const sockets::Socket fd = sockets::accept_from(listen_fd_);
        if (fd == sockets::kNoSocket) {
            continue;
        }
        std::lock_guard lock(mutex_);
        if (stopping()) {
            sockets::close_socket(fd);
            return;
        }
        open_fds_.push_back(fd);
        threads_.emplace_back([this, fd] { serve(fd); });
    }
}

void RawHttpServer::serve(sockets::Socket fd) {
    const std::string request = read_request(fd);
    if (!request.empty() && !stopping()) {
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
        }
        changed_.notify_all();
        if (request.front() != '\x16') {
            answer(fd, handler_(request));
        }
    }
    {
        std::lock_guard lock(mutex_);
        open_fds_.erase(std::remove(open_fds_.begin(), open_fds_.end(), fd), open_fds_.end());
    }
    sockets::close_socket(fd);
}

std::string RawHttpServer::read_request(sockets::Socket fd) {
    std::string bytes;
    char buffer[4096];
    for (;;) {
        if (sockets::wait_readable(fd, stop_pipe_[0], -1) != sockets::Ready::data) {
            return bytes;
        }
        const long got = sockets::receive(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.front() == '\x16') {
            return bytes;  // a TLS handshake: nothing here can answer it
        }
        const std::size_t head_end = bytes.find("\r\n\r\n");
        if (head_end != std::string::npos &&
            bytes.size() >= head_end + 4 + content_length(bytes.substr(0, head_end + 2))) {
            return bytes;
        }
    }
}

bool RawHttpServer::send_all(sockets::Socket fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const long sent = sockets::send_some(fd, bytes);
        if (sent <= 0 || stopping()) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool RawHttpServer::sleep_for(std::chrono::milliseconds pause) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, pause, [this] { return stopping(); });
    return !stopping();
}

bool RawHttpServer::wait_released() {
    std::unique_lock lock(mutex_);
    ++held_now_;
    changed_.wait(lock, [this] { return released_ || stopping(); });
    --held_now_;
    return !stopping();
}

int RawHttpServer::held_now() const {
    std::lock_guard lock(mutex_);
    return held_now_;
}

bool RawHttpServer::saw_path(std::string_view path) const {
    std::lock_guard lock(mutex_);
    return seen_locked(path);
}

bool RawHttpServer::wait_for_path(std::string_view path, std::chrono::milliseconds give_up) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, give_up, [&] { return seen_locked(path); });
}

bool RawHttpServer::seen_locked(std::string_view path) const {
    return std::any_of(requests_.begin(), requests_.end(), [&](const std::string& r) {
        const std::string target = request_target(r);
        return std::string_view(target).substr(0, target.find('?')) == path;
    });
}

void RawHttpServer::answer(sockets::Socket fd, const Reply& reply) {
    if ((reply.delay.count() > 0 && !sleep_for(reply.delay)) || (reply.hold && !wait_released())) {
        return;
    }
    if (!send_all(fd, reply.head)) {
        return;
    }
    const std::string_view body =
        std::string_view(reply.body).substr(0, std::min(reply.close_after, reply.body.size()));
    if (reply.piece == 0) {
        send_all(fd, body);
        return;
    }
    std::size_t offset = 0;
    do {
        for (offset = 0; offset < body.size(); offset += reply.piece) {
            if (!send_all(fd, body.substr(offset, reply.piece)) || !sleep_for(reply.pause)) {
                return;
            }
        }
    } while (reply.endless && !body.empty());
}

int refused_port() {
    int port = 0;
    sockets::close_socket(sockets::listen_loopback(0, &port));
    return port;
}

RequestParts split_request(std::string_view raw) {
    RequestParts parts;
    const std::size_t head_end = raw.find("\r\n\r\n");
    const std::string_view head = raw.substr(0, head_end);
    if (head_end != std::string_view::npos) {
        parts.body = std::string(raw.substr(head_end + 4));
    }
    std::size_t begin = 0;
    while (begin <= head.size() && !head.empty()) {
        const std::size_t end = std::min(head.find("\r\n", begin), head.size());
        parts.head_lines.emplace_back(head.substr(begin, end - begin));
        begin = end + 2;
    }
    return parts;
}

std::string request_target(std::string_view raw) {
    const RequestParts parts = split_request(raw);
    if (parts.head_lines.empty()) {
        return {};
    }
    const std::string& line = parts.head_lines.front();
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    return first == std::string::npos || last <= first ? std::string()
                                                       : line.substr(first + 1, last - first - 1);
}

std::string header_value(std::string_view raw, std::string_view name) {
    const RequestParts parts = split_request(raw);
    for (std::size_t i = 1; i < parts.head_lines.size(); ++i) {
        const std::string& line = parts.head_lines[i];
        const std::size_t colon = line.find(':');
        if (colon != name.size() ||
            !std::equal(name.begin(), name.end(), line.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            continue;
        }
        const std::size_t begin = line.find_first_not_of(' ', colon + 1);
        const std::size_t end = line.find_last_not_of(' ');
        return begin == std::string::npos ? std::string() : line.substr(begin, end - begin + 1);
    }
    return {};
}

}  // namespace test
