#pragma once
// Message boxes with Qt, installed as the program's net::MessageBoxFn: a box
// modal to the main window (the whole program waits for it), the caption as
// title, the text as written (never markup), one OK button captioned 确定.
#include <QMessageBox>

#include "net/message_box.h"

namespace app {

// The icon a message-box style asks for: 16 critical, 32 question,
// 48 warning, 64 information; anything else shows none.
QMessageBox::Icon message_box_icon(int style);

// Shows the box and returns 0 once OK is pressed (or the box is closed).
int show_qt_message_box(const std::string& text, int style, const std::string& caption);

net::MessageBoxFn qt_message_box();

}  // namespace app
