#include "catalogue/load_tickets.h"

namespace catalogue {

namespace {

Ticket& ticket_of(LoadTickets& tickets, ListKind kind) {
    return kind == ListKind::Level2 ? tickets.level2 : tickets.level3;
}

bool& running_flag(LoadTickets& tickets, ListKind kind) {
    return kind == ListKind::Tabs ? tickets.tabs_running : tickets.level1_running;
}

}  // namespace

Ticket begin_sub_level_load(LoadTickets& tickets, ListKind kind) {
    if (kind == ListKind::Level2)
        ++tickets.level3;
    return ++ticket_of(tickets, kind);
}

bool superseded(const LoadTickets& tickets, ListKind kind, Ticket ticket) {
    const Ticket latest = kind == ListKind::Level2 ? tickets.level2 : tickets.level3;
    return latest != ticket;
}

ExclusiveLoad::ExclusiveLoad(LoadTickets& tickets, ListKind kind)
    : running_flag_(running_flag(tickets, kind)) {
    if (running_flag_)
        return;
    running_flag_ = true;
    owned_ = true;
}

ExclusiveLoad::~ExclusiveLoad() {
    if (owned_)
        running_flag_ = false;
}

}  // namespace catalogue
