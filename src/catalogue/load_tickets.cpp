#include "catalogue/load_tickets.h"

#include <QVariant>
#include <QWidget>

namespace catalogue {

namespace {

const char* ticket_property(ListKind kind) {
    return kind == ListKind::Level2 ? "catalogue_level2_ticket" : "catalogue_level3_ticket";
}

const char* running_property(ListKind kind) {
    return kind == ListKind::Tabs ? "catalogue_tabs_loading" : "catalogue_level1_loading";
}

Ticket ticket_of(const QWidget& window, ListKind kind) {
    return window.property(ticket_property(kind)).toULongLong();
}

Ticket bump(QWidget& window, ListKind kind) {
    const Ticket next = ticket_of(window, kind) + 1;
    window.setProperty(ticket_property(kind), QVariant::fromValue(next));
    return next;
}

}  // namespace

Ticket begin_sub_level_load(QWidget& window, ListKind kind) {
    if (kind == ListKind::Level2)
        bump(window, ListKind::Level3);
    return bump(window, kind);
}

bool superseded(const QWidget& window, ListKind kind, Ticket ticket) {
    return ticket_of(window, kind) != ticket;
}

ExclusiveLoad::ExclusiveLoad(QWidget& window, ListKind kind) : window_(window), kind_(kind) {
    if (window_.property(running_property(kind_)).toBool())
        return;
    window_.setProperty(running_property(kind_), true);
    owned_ = true;
}

ExclusiveLoad::~ExclusiveLoad() {
    if (owned_)
        window_.setProperty(running_property(kind_), false);
}

}  // namespace catalogue
