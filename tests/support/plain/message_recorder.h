#pragma once
// MessageRecorder: while it lives, net::show_message records each message
// instead of showing it, and answers with the given return value.
#include <mutex>
#include <string>
#include <vector>

namespace test {

struct ShownMessage {
    std::string text;  // GBK
    int style = 0;
    std::string caption;  // GBK
};

class MessageRecorder {
  public:
    explicit MessageRecorder(int answer = 0);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<ShownMessage> shown() const;

  private:
    mutable std::mutex mutex_;
    std::vector<ShownMessage> shown_;
};

}  // namespace test
