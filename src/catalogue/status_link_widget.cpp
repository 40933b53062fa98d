#include "catalogue/status_link_widget.h"

#include <QColor>
#include <QPalette>
#include <QWidget>

#include "ui/control.h"
#include "ui/widget_text.h"

namespace catalogue {

namespace {

QColor qt_colour(LinkColour colour) {
    return colour == LinkColour::Blue ? QColor(0, 0, 255) : QColor(255, 0, 0);
}

LinkColour colour_of(const QWidget& link) {
    const QColor shown = link.palette().color(QPalette::WindowText);
    if (shown == qt_colour(LinkColour::Blue))
        return LinkColour::Blue;
    if (shown == qt_colour(LinkColour::Red))
        return LinkColour::Red;
    return LinkColour::Unchanged;
}

}  // namespace

LinkState read_link(const QWidget& link) {
    // isHidden, not isVisible: the link counts as shown even while its page
    // (or the whole window) is not on screen.
    return LinkState{!link.isHidden(), link.isEnabled(), ui::read_text(&link), colour_of(link)};
}

void apply_link(QWidget& link, const LinkState& state) {
    if (state.colour != LinkColour::Unchanged) {
        QPalette palette = link.palette();
        palette.setColor(QPalette::WindowText, qt_colour(state.colour));
        link.setPalette(palette);
    }
    ui::write_text(&link, state.caption);
    link.setEnabled(state.enabled);
    link.setVisible(state.visible);
}

LinkState change_link(ui::Context& ctx, const char* link_name,
                      const std::function<LinkState(LinkState)>& change) {
    QWidget* link = ui::control(ctx.window, link_name);
    if (link == nullptr)
        return {};
    LinkState next = change(read_link(*link));
    apply_link(*link, next);
    return next;
}

}  // namespace catalogue
