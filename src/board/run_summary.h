#pragma once
// The board's last run in one line above the grid: how the own goods moved
// in each cell against the check before, how many of their ranks are on the
// first screens, and how many cells failed or were not checked. Counted from
// what the grid shows (each cell's newest checks), so the line and the grid
// always agree, whichever process ran the checks. Texts are UTF-8.
#include <string>
#include <vector>

#include "board/grid.h"

namespace board {

struct RunSummary {
    int rose = 0;
    int fell = 0;
    int held = 0;
    int entered = 0;  // newly among the first 1000
    int left = 0;     // no longer among them
    int top10 = 0;    // own ranks in the first 10
    int top20 = 0;    // own ranks in the first 20 (the first 10 included)
    int failed = 0;
    int not_checked = 0;
    bool operator==(const RunSummary&) const = default;
};

// One count per cell and own goods item. A null cell is one the last run
// did not reach: not checked, whatever it held before. A goods item read for
// the first time has nothing to move from and counts in neither column.
RunSummary run_summary(const std::vector<const CellData*>& cells,
                       const std::vector<std::string>& own_ids);

// "上升 3 · 下降 1 · 持平 8 · 新进千名 1 · 跌出千名 0 · 本店前10名 2 个、前20名 5 个 · 失败 1 ·
// 未检查 0".
std::string summary_text(const RunSummary& summary);

}  // namespace board
