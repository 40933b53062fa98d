#pragma once
// The one way the program shows a message box. The window layer installs a
// function that shows a box modal to the main window; tests install one that
// records the message instead of blocking.
#include <functional>
#include <string>

namespace net {

// Texts are GBK. Returns the button code minus 1 (0 for OK).
using MessageBoxFn =
    std::function<int(const std::string& text, int style, const std::string& caption)>;

void set_message_box(MessageBoxFn fn);  // empty fn restores the default (prints to stderr)

// Defaults: style 64 (information, one OK button), caption "友情提醒".
int show_message(const std::string& text, int style = 64, const std::string& caption = {});

}  // namespace net
