#pragma once
// What the catalogue needs of its window: the four lists' boxes, the two
// status links and a message box. The window layer implements it with its
// typed widgets; tests with plain data. Texts are GBK.
#include <string>
#include <vector>

#include "catalogue/list_kind.h"
#include "catalogue/status_link.h"
#include "net/lifetime.h"

namespace catalogue {

class CatalogueView {
  public:
    virtual ~CatalogueView() = default;

    // Expires with the window; asked after every wait.
    virtual net::LifetimeWatch watch() const = 0;

    // Adds items at the end of a list's box. The choice stays as it was, so a
    // box nobody has chosen from shows no text afterwards.
    virtual void append_names(ListKind list, const std::vector<std::string>& names) = 0;
    // Empties a list's box; nothing is chosen afterwards.
    virtual void clear_box(ListKind list) = 0;
    // The index of the box's chosen item; -1 when none is chosen.
    virtual int chosen_index(ListKind list) const = 0;

    // Shows a status link in `state` (a colour of Unchanged keeps the link's colour).
    virtual void show_link(Link link, const LinkState& state) = 0;

    // A message box modal to the window; returns once it is closed.
    virtual void message(const std::string& text, int style, const std::string& caption) = 0;
};

}  // namespace catalogue
