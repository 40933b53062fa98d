#pragma once
// A loopback SMTP server for the e-mail channel's tests: it speaks just
// enough ESMTP for libcurl (EHLO, AUTH PLAIN, MAIL, RCPT, DATA, QUIT), one
// connection at a time, and keeps every command and message it received.
// It can refuse DATA with a reply of the test's choice.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "plain/socket_io.h"

namespace test {

struct SmtpSession {
    std::vector<std::string> commands;  // each line as received, without CR LF
    std::string data;                   // the message after DATA, dot-stuffing undone
};

class SmtpServer {
  public:
    // data_reply: what DATA's end gets ("250 queued", "451 try later", "554 no").
    explicit SmtpServer(std::string data_reply = "250 queued");
    ~SmtpServer();
    SmtpServer(const SmtpServer&) = delete;
    SmtpServer& operator=(const SmtpServer&) = delete;

    std::string url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }
    std::vector<SmtpSession> sessions() const;

  private:
    void accept_loop();
    void serve(sockets::Socket fd);

    std::string data_reply_;
    sockets::Socket listen_fd_ = sockets::kNoSocket;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<SmtpSession> sessions_;
    std::thread acceptor_;
};

}  // namespace test
