#pragma once
// A label drawn without a background of its own, so the page shows through,
// that runs an action when the left mouse button is pressed on it. The status
// links of the category lists are such labels.
#include <QLabel>
#include <functional>

namespace ui {

class TransparentLabel : public QLabel {
    Q_OBJECT

  public:
    explicit TransparentLabel(QWidget* parent = nullptr);

    // Replaces the action; an empty function turns the reaction off.
    void set_on_left_press(std::function<void()> action);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::function<void()> on_left_press_;
};

}  // namespace ui
