#include "app/qt_message_box.h"

#include <QPushButton>

#include "app/main_window.h"
#include "ui/widget_text.h"

namespace app {

QMessageBox::Icon message_box_icon(int style) {
    switch (style & 0xF0) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

int show_qt_message_box(const std::string& text, int style, const std::string& caption) {
    QMessageBox box(message_box_icon(style), ui::to_qstring(caption), ui::to_qstring(text),
                    QMessageBox::Ok, MainWindow::find());
    // A message may quote remote text (a name from a page): shown as written.
    box.setTextFormat(Qt::PlainText);
    // The interface is Chinese whatever translations the system has.
    box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return 0;
}

net::MessageBoxFn qt_message_box() {
    return show_qt_message_box;
}

}  // namespace app
