#include "app/enter_runs.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace app {

namespace {

// Owned by the list it watches. A disabled button (a query already running)
// ignores the click, as it ignores the mouse.
class CtrlEnterFilter final : public QObject {
  public:
    CtrlEnterFilter(QObject* parent, QAbstractButton& button) : QObject(parent), button_(button) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (enter && (key->modifiers() & Qt::ControlModifier)) {
                button_.click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QAbstractButton& button_;
};

}  // namespace

void run_on_enter(QLineEdit& field, QAbstractButton& button) {
    QObject::connect(&field, &QLineEdit::returnPressed, &button, &QAbstractButton::click);
}

void run_on_ctrl_enter(QPlainTextEdit& list, QAbstractButton& button) {
    list.installEventFilter(new CtrlEnterFilter(&list, button));
}

}  // namespace app
