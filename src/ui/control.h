#pragma once
// A control reference: the main window plus one of its controls, found by the
// control's name (its objectName, e.g. "编辑框5").
#include <QString>
#include <QWidget>

namespace ui {

template <class T = QWidget>
T* control(const QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromUtf8(name));
}

}  // namespace ui
