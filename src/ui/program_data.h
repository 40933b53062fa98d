#pragma once
// Program-wide data and the window's off-screen working storage. The working
// storage keeps the names of the controls it stands for, so the code reads
// like the window description: 编辑框9 is the level-1 category buffer, and so on.
// All texts are GBK; multi-line texts use CR LF.
#include <string>
#include <vector>

#include "ranking/query_state.h"

class QWidget;

namespace ui {

struct ProgramData {
    ranking::QueryState query;

    // Off-screen working storage of the category lists.
    std::string 编辑框9;   // level-1 category buffer; empty = not loaded yet
    std::string 编辑框10;  // level-2 category buffer
    std::string 编辑框11;  // level-3 category buffer
    std::string 编辑框14;  // 爱逛街 tab buffer; empty = not loaded yet

    // Id lists of the four selection lists, index-aligned with their combo boxes.
    std::vector<std::string> level1_ids;
    std::vector<std::string> level2_ids;
    std::vector<std::string> level3_ids;
    std::vector<std::string> tab_ids;

    // Hidden id holders.
    std::string 编辑框6;   // chosen level-1 id
    std::string 编辑框7;   // chosen level-2 id
    std::string 编辑框8;   // chosen level-3 id
    std::string 编辑框15;  // chosen 爱逛街 tab id
};

// What every handler gets: the main window (its controls found by name) and
// the program data beside it.
struct Context {
    QWidget& window;
    ProgramData& data;
};

}  // namespace ui
