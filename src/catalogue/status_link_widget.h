#pragma once
// Reading and applying a status link's state on its widget.
#include <functional>

#include "catalogue/status_link.h"
#include "ui/program_data.h"

class QWidget;

namespace catalogue {

inline constexpr const char* kCategoryLink = "透明标签1";
inline constexpr const char* kTabLink = "透明标签2";

LinkState read_link(const QWidget& link);
void apply_link(QWidget& link, const LinkState& state);

// Looks the link up afresh (a wait may have run other handlers), reads it,
// applies `change` and writes the result back. Returns the new state, or the
// default state when the window has no such link.
LinkState change_link(ui::Context& ctx, const char* link_name,
                      const std::function<LinkState(LinkState)>& change);

}  // namespace catalogue
