#include "app/window_catalogue_view.h"

#include <QColor>
#include <QComboBox>
#include <QPalette>
#include <QStringList>

#include "app/main_window.h"
#include "net/message_box.h"
#include "ui/transparent_label.h"
#include "ui/widget_text.h"

namespace app {

using catalogue::Link;
using catalogue::LinkColour;
using catalogue::ListKind;

QComboBox* WindowCatalogueView::box(ListKind list) const {
    const MainWindow& w = window_;
    switch (list) {
        case ListKind::Level1:
            return w.组合框1;
        case ListKind::Level2:
            return w.组合框2;
        case ListKind::Level3:
            return w.组合框3;
        case ListKind::Tabs:
            break;
    }
    return w.组合框4;
}

ui::TransparentLabel* WindowCatalogueView::link(Link which) const {
    return which == Link::category ? window_.透明标签1 : window_.透明标签2;
}

void WindowCatalogueView::append_names(ListKind list, const std::vector<std::string>& names) {
    QStringList items;
    items.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names)
        items.append(ui::to_qstring(name));
    // A combo box picks item 0 by itself when its first items arrive; keep
    // whatever the user had chosen (nothing, for a fresh box) instead.
    QComboBox* target = box(list);
    const int chosen = target->currentIndex();
    target->addItems(items);
    target->setCurrentIndex(chosen);
    window_.share_catalogue();
}

void WindowCatalogueView::clear_box(ListKind list) {
    box(list)->clear();
    window_.share_catalogue();
}

int WindowCatalogueView::chosen_index(ListKind list) const {
    return box(list)->currentIndex();
}

void WindowCatalogueView::show_link(Link which, const catalogue::LinkState& state) {
    ui::TransparentLabel* label = link(which);
    if (state.colour != LinkColour::Unchanged) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText,
                         state.colour == LinkColour::Blue ? QColor(0, 0, 255) : QColor(255, 0, 0));
        label->setPalette(palette);
    }
    ui::write_text(label, state.caption);
    label->setEnabled(state.enabled);
    label->setVisible(state.visible);
}

void WindowCatalogueView::message(const std::string& text, int style, const std::string& caption) {
    net::show_message(text, style, caption);
}

}  // namespace app
