#include "ui/design_tab_widget.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>

namespace ui {

DesignTabWidget::DesignTabWidget(QWidget* parent) : QTabWidget(parent) {}

QPoint DesignTabWidget::page_origin() const {
    ensurePolished();
    // The same rectangle QTabWidget gives its page stack when it lays itself out.
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this).topLeft();
}

void DesignTabWidget::place_on_page(QWidget* child, const QRect& design_rect) {
    placed_.push_back({child, design_rect});
    child->setGeometry(design_rect.translated(-page_origin()));
}

void DesignTabWidget::place_all() {
    const QPoint origin = page_origin();
    for (const Placed& p : placed_) {
        if (p.child)
            p.child->setGeometry(p.design_rect.translated(-origin));
    }
}

void DesignTabWidget::changeEvent(QEvent* event) {
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange)
        place_all();
}

void DesignTabWidget::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    place_all();
}

void DesignTabWidget::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    place_all();
}

}  // namespace ui
