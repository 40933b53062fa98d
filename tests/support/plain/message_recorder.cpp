#include "plain/message_recorder.h"

#include "net/message_box.h"

namespace test {

MessageRecorder::MessageRecorder(int answer) {
    net::set_message_box(
        [this, answer](const std::string& text, int style, const std::string& caption) {
            std::lock_guard lock(mutex_);
            shown_.push_back({text, style, caption});
            return answer;
        });
}

MessageRecorder::~MessageRecorder() {
    net::set_message_box({});
}

std::vector<ShownMessage> MessageRecorder::shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

}  // namespace test
