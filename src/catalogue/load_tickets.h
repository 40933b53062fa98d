#pragma once
// Bookkeeping of loads that overlap. A fetch dispatches window events while
// it waits, so a new selection (or a second page visit) can start another
// load of the same list before the first has its answer.
//  - Levels 2 and 3: a newer load supersedes an older one; the older drops
//    its answer instead of mixing two categories' children in one box. A
//    level-2 load also supersedes running level-3 loads, since it empties
//    level 3.
//  - Level 1 and the tabs: while one load runs, another is not started; its
//    answer would only list the same entries a second time.
// The counters are part of the catalogue's data, so every window keeps its own.
#include "catalogue/list_kind.h"

namespace catalogue {

using Ticket = unsigned long long;

struct LoadTickets {
    Ticket level2 = 0;  // the latest level-2 load
    Ticket level3 = 0;  // the latest level-3 load
    bool level1_running = false;
    bool tabs_running = false;
};

// Starts a level-2 or level-3 load and returns its ticket.
Ticket begin_sub_level_load(LoadTickets& tickets, ListKind kind);
// True once a newer load of the same list has begun.
bool superseded(const LoadTickets& tickets, ListKind kind, Ticket ticket);

// Marks a level-1 or tab load as running for its lifetime; running() is false
// when another load of that list was already running (then nothing is marked).
// The tickets must outlive the guard.
class ExclusiveLoad {
  public:
    ExclusiveLoad(LoadTickets& tickets, ListKind kind);
    ~ExclusiveLoad();
    ExclusiveLoad(const ExclusiveLoad&) = delete;
    ExclusiveLoad& operator=(const ExclusiveLoad&) = delete;

    bool running() const { return owned_; }

  private:
    bool& running_flag_;
    bool owned_ = false;
};

}  // namespace catalogue
