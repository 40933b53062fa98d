#pragma once
// The rank chart of one cell: rank over time for the own goods with the
// competitors overlaid in their own colours, rank 1 at the top, the axis
// zoomed to the data, a band at the bottom for "not in the first 1000", a gap
// where a check failed, a tooltip per point, and a PNG copy from the context
// menu. Painted with QPainter; what to paint comes from board::chart_series.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "board/chart_series.h"

namespace app {

class RankChart final : public QWidget {
    Q_OBJECT

  public:
    explicit RankChart(QWidget* parent = nullptr);

    void set_series(std::vector<board::ChartSeries> series);
    // The time the ranges count back from; by default the clock's now.
    void set_now(std::function<std::int64_t()> now_ms) { now_ms_ = std::move(now_ms); }
    void set_range(board::ChartRange range);
    board::ChartRange range() const { return range_; }

    // The chart as a picture, and saved as PNG (false when writing failed).
    QImage picture();
    bool save_png(const QString& file);

    // The text the tooltip shows for the point nearest to `pos` (empty: none near).
    QString tooltip_at(QPoint pos) const;

    static QColor colour_of(std::size_t series_index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    struct Frame;  // where the plot, the band and the axes lie for a size
    Frame frame() const;
    std::vector<board::ChartSeries> shown() const;

    std::vector<board::ChartSeries> series_;
    board::ChartRange range_ = board::ChartRange::all;
    std::function<std::int64_t()> now_ms_;
};

}  // namespace app
