#include "ui/design_tab_widget.h"

#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace ui {

DesignTabWidget::DesignTabWidget(QWidget* parent) : QTabWidget(parent) {}

QPoint DesignTabWidget::page_origin() const {
    // The same rectangle QTabWidget gives its page stack when it lays itself out.
    ensurePolished();
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
}

void DesignTabWidget::place_on_page(QWidget* child, const QRect& design_rect) const {
    child->setGeometry(design_rect.translated(-page_origin()));
}

}  // namespace ui
