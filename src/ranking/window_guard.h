#pragma once
// Events are dispatched during every wait of a query, and closing the window
// is one of them: after each wait the query asks this guard, taken before the
// wait, whether its window is still there and the program is not ending
// before it touches anything or asks for another page.
#include <QPointer>
#include <QWidget>

namespace ranking {

class WindowGuard {
  public:
    explicit WindowGuard(QWidget& window) : window_(&window) {}
    bool alive() const;

  private:
    QPointer<QWidget> window_;
};

}  // namespace ranking
