#pragma once
// The four selection lists, each a buffer of category lines, a combo box, an
// id list index-aligned with the box, and an id holder:
//   level 1: 编辑框9,  组合框1, level1_ids, 编辑框6
//   level 2: 编辑框10, 组合框2, level2_ids, 编辑框7
//   level 3: 编辑框11, 组合框3, level3_ids, 编辑框8
//   tabs:    编辑框14, 组合框4, tab_ids,    编辑框15
#include <string>
#include <vector>

#include "ui/program_data.h"

class QComboBox;

namespace catalogue {

enum class ListKind { Level1, Level2, Level3, Tabs };

std::string& buffer_of(ui::ProgramData& data, ListKind kind);
std::vector<std::string>& ids_of(ui::ProgramData& data, ListKind kind);
std::string& holder_of(ui::ProgramData& data, ListKind kind);
const char* box_name(ListKind kind);
QComboBox* box_of(ui::Context& ctx, ListKind kind);

// Adds the buffer's entries to the box and the id list. Level 1 is only ever
// extended; the other lists are emptied first. A box nobody has chosen from
// shows no text afterwards.
void fill(ui::Context& ctx, ListKind kind);

// Empties a list's box and id list together (its buffer and holder stay).
void clear_box(ui::Context& ctx, ListKind kind);

// Writes the id of the box's chosen item into the list's id holder; without a
// choice the holder keeps what it has.
void store_selection(ui::Context& ctx, ListKind kind);

}  // namespace catalogue
