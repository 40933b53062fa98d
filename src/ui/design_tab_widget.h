#pragma once
// A tab control whose pages take child positions measured from the tab
// control's own top-left corner (the way the pages were drawn, tab strip
// included), not from the page area below the strip. The page area moves when
// the style or font changes (a skin applied at start does both), so placed
// children are put in place again whenever that happens.
#include <QPointer>
#include <QRect>
#include <QTabWidget>
#include <vector>

namespace ui {

class DesignTabWidget : public QTabWidget {
    Q_OBJECT

  public:
    explicit DesignTabWidget(QWidget* parent = nullptr);

    // Where the page area starts inside the tab control, from the current style
    // and tab strip.
    QPoint page_origin() const;

    // Places `child` (a widget on one of the pages) at `design_rect`, given
    // relative to this tab control, and keeps it there.
    void place_on_page(QWidget* child, const QRect& design_rect);

  protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void place_all();

    struct Placed {
        QPointer<QWidget> child;
        QRect design_rect;
    };
    std::vector<Placed> placed_;
};

}  // namespace ui
