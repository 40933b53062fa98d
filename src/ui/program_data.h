#pragma once
// Program-wide data and the window's off-screen working storage. The working
// storage keeps the names of the controls it stands for, so the code reads
// like the window description: 编辑框9 is the level-1 category buffer, and so on.
// All texts are GBK; multi-line texts use CR LF.
#include <string>
#include <vector>

class QWidget;

namespace ui {

// One row of the listing table; column 0 holds the goods id.
using ListingRow = std::vector<std::string>;

struct ProgramData {
    // Query state (set by the query handlers, read by the search and reporting).
    std::string query_kind;  // "关键词", "类目", "爱逛街" or "新品" (GBK)
    std::string target_keyword;
    std::string target_category;
    std::string target_ishopping;
    std::string target_new_goods;
    std::string current_category_id;
    int current_category_level = 1;

    // Off-screen working storage.
    std::string 编辑框9;                  // level-1 category buffer; empty = not loaded yet
    std::string 编辑框10;                 // level-2 category buffer
    std::string 编辑框11;                 // level-3 category buffer
    std::string 编辑框14;                 // 爱逛街 tab buffer; empty = not loaded yet
    std::string 编辑框4;                  // remaining keywords of a keyword query
    std::string 编辑框1;                  // raw text of the last listing response
    std::string 标签1;                    // row count of the listing table, as text
    std::vector<ListingRow> 超级列表框1;  // listing table

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
