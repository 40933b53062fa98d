#include "board/chart_labels.h"

#include <algorithm>

#include "board/words.h"
#include "text/codepage.h"

namespace board {

ChartLabels chart_labels(const Board& board, const CellKey& cell) {
    ChartLabels labels{listing_label(cell.listing, cell.key, listing_names(board)),
                       std::string(sort_word(cell.sort)),
                       {}};
    for (const auto* goods : {&board.own, &board.competitors}) {
        for (const GoodsItem& item : *goods) {
            if (!item.name.empty())
                labels.names[text::gbk_to_utf8(item.id)] = text::gbk_to_utf8(item.name);
        }
    }
    return labels;
}

std::string_view range_word(ChartRange range) {
    switch (range) {
        case ChartRange::day:
            return "24 小时";
        case ChartRange::week:
            return "7 天";
        case ChartRange::month:
            return "30 天";
        case ChartRange::all:
            break;
    }
    return "全部";
}

std::string series_label(const ChartSeries& series, const ChartLabels& labels) {
    const auto name = labels.names.find(series.goods_id);
    const std::string& who =
        name != labels.names.end() && !name->second.empty() ? name->second : series.goods_id;
    return std::string(series.own ? kOwnWord : kCompetitorWord) + " " + who;
}

std::string chart_title(const std::vector<ChartSeries>& series, const ChartLabels& labels,
                        ChartRange range) {
    std::vector<std::string> parts;
    const auto own =
        std::find_if(series.begin(), series.end(), [](const ChartSeries& s) { return s.own; });
    if (own != series.end())
        parts.push_back(series_label(*own, labels));
    else if (!series.empty())
        parts.push_back(series_label(series.front(), labels));
    parts.push_back(labels.listing);
    parts.push_back(labels.sort);
    parts.emplace_back(range_word(range));
    std::string title;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!title.empty())
            title += " · ";
        title += part;
    }
    return title;
}

}  // namespace board
