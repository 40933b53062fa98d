#include "ui/transparent_label.h"

#include <QMouseEvent>

namespace ui {

TransparentLabel::TransparentLabel(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void TransparentLabel::set_on_left_press(std::function<void()> action) {
    on_left_press_ = std::move(action);
}

void TransparentLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !on_left_press_)
        return QLabel::mousePressEvent(event);
    event->accept();
    // The action may run a whole list load (with nested event dispatching) and
    // may change this label; keep a copy so replacing the action is harmless.
    const auto action = on_left_press_;
    action();
}

}  // namespace ui
