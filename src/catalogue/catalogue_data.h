#pragma once
// What the catalogue keeps between events: the off-screen working storage of
// the four selection lists (the controls they stand for named in comments),
// the bookkeeping of overlapping loads and the status links' states. Texts are
// GBK; buffers hold CR LF-separated category lines.
#include <string>
#include <vector>

#include "catalogue/list_kind.h"
#include "catalogue/load_tickets.h"
#include "catalogue/status_link.h"
#include "net/hosts.h"

namespace catalogue {

struct SelectionList {
    std::string buffer;            // category lines as loaded; blank = not loaded yet
    std::vector<std::string> ids;  // index-aligned with the list's box
    std::string chosen_id;         // the hidden id holder: the last chosen item's id
};

struct CatalogueData {
    // Where the lists are read: the configuration the window loaded.
    net::Hosts hosts = net::default_hosts();

    SelectionList level1;  // buffer 编辑框9,  holder 编辑框6,  box 组合框1
    SelectionList level2;  // buffer 编辑框10, holder 编辑框7,  box 组合框2
    SelectionList level3;  // buffer 编辑框11, holder 编辑框8,  box 组合框3
    SelectionList tabs;    // buffer 编辑框14, holder 编辑框15, box 组合框4

    LoadTickets loads;

    // The states the status links were last shown in.
    LinkState category_link;  // 透明标签1
    LinkState tab_link;       // 透明标签2

    SelectionList& list(ListKind kind);
    const SelectionList& list(ListKind kind) const;
    LinkState& link(Link which);
};

}  // namespace catalogue
