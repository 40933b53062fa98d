#pragma once
// The four selection lists, each a buffer of category lines, a box, an id
// list index-aligned with the box, and an id holder (see CatalogueData).
#include "catalogue/catalogue_data.h"
#include "catalogue/catalogue_view.h"

namespace catalogue {

// Adds the buffer's entries to the box and the id list. Level 1 is only ever
// extended; the other lists are emptied first. A box nobody has chosen from
// shows no text afterwards.
void fill(CatalogueView& view, CatalogueData& data, ListKind kind);

// Empties a list's box and id list together (its buffer and holder stay).
void clear_box(CatalogueView& view, CatalogueData& data, ListKind kind);

// Writes the id of the box's chosen item into the list's id holder; without a
// choice the holder keeps what it has.
void store_selection(const CatalogueView& view, CatalogueData& data, ListKind kind);

// True while a list's buffer holds nothing but blanks: its page loads it when
// opened (again after a failed load).
bool needs_loading(const CatalogueData& data, ListKind kind);

}  // namespace catalogue
