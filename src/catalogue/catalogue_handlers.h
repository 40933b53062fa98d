#pragma once
// Entry points of the category catalogue, bound to the window's events.
#include "ui/program_data.h"

namespace catalogue {

void load_level1_first_visit(ui::Context& ctx);  // first opening of 类目排名
void retry_level1(ui::Context& ctx);             // 透明标签1, left button pressed
void on_level1_selected(ui::Context& ctx);       // 组合框1, list item selected
void on_level2_selected(ui::Context& ctx);       // 组合框2, list item selected
void on_level3_selected(ui::Context& ctx);       // 组合框3, list item selected
void load_tabs_first_visit(ui::Context& ctx);    // first opening of 爱逛街排名
void retry_tabs(ui::Context& ctx);               // 透明标签2, left button pressed
void on_tab_selected(ui::Context& ctx);          // 组合框4, list item selected

}  // namespace catalogue
