#pragma once
// A tab control whose pages take child positions measured from the tab
// control's own top-left corner (the way the pages were drawn, tab strip
// included), not from the page area below the strip.
#include <QTabWidget>

namespace ui {

class DesignTabWidget : public QTabWidget {
    Q_OBJECT

  public:
    explicit DesignTabWidget(QWidget* parent = nullptr);

    // Where the page area starts inside the tab control, from the current style
    // and tab strip. Valid once every tab is added.
    QPoint page_origin() const;

    // Places `child` (a widget on one of the pages) at `design_rect`, given
    // relative to this tab control.
    void place_on_page(QWidget* child, const QRect& design_rect) const;
};

}  // namespace ui
