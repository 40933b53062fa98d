#pragma once
// The words the rank chart shows about what it draws: who each series is
// ("本店 辣条大礼包", "竞品 5550001") and the title naming the goods, the
// listing, the sort order and the range. UTF-8, Qt-free.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "board/board.h"
#include "board/chart_series.h"
#include "board/check_record.h"

namespace board {

struct ChartLabels {
    std::string listing;  // the cell's keyword or category, as the grid names it
    std::string sort;     // sort_word() of the cell's sort; empty for a listing without one
    std::map<std::string, std::string> names;  // goods ID -> goods name; no name: the ID shows
};

// The labels of one cell of a board: its listing as the grid names its row
// ("辣条", "类目 14", "爱逛街 3", "新品"), its sort word, and the names the
// board keeps for its goods (GBK there, UTF-8 here).
ChartLabels chart_labels(const Board& board, const CellKey& cell);

// "24 小时", "7 天", "30 天", "全部": the range buttons' captions and the title's last part.
std::string_view range_word(ChartRange range);

// "本店 辣条大礼包" / "竞品 5550001": the goods' name, else its ID.
std::string series_label(const ChartSeries& series, const ChartLabels& labels);

// "本店 辣条大礼包 · 辣条 · 销量 · 7 天": the first own series (else the first
// series), then the listing, sort and range; empty parts are left out.
std::string chart_title(const std::vector<ChartSeries>& series, const ChartLabels& labels,
                        ChartRange range);

}  // namespace board
