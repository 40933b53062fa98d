#include "net/message_box.h"

#include <cstdio>
#include <mutex>

#include "text/codepage.h"

namespace net {

namespace {

std::mutex box_mutex;
MessageBoxFn installed_box;

// Without a window the message still reaches whoever runs the program.
int print_message(const std::string& text, int /*style*/, const std::string& caption) {
    const std::string line = text::gbk_to_utf8(caption) + ": " + text::gbk_to_utf8(text) + "\n";
    std::fputs(line.c_str(), stderr);
    return 0;
}

}  // namespace

void set_message_box(MessageBoxFn fn) {
    std::lock_guard lock(box_mutex);
    installed_box = std::move(fn);
}

int show_message(const std::string& text, int style, const std::string& caption) {
    MessageBoxFn box;
    {
        std::lock_guard lock(box_mutex);
        box = installed_box;
    }
    const std::string& shown_caption = caption.empty() ? GBK("友情提醒") : caption;
    return box ? box(text, style, shown_caption) : print_message(text, style, shown_caption);
}

}  // namespace net
