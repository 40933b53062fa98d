#pragma once
// The rank chart of one cell: rank over time for the own goods with the
// competitors overlaid in their own colours, rank 1 at the top, the axis
// zoomed to the data with round ticks, local times along the bottom, a band
// at the bottom for "not in the first 1000", a gap and a red mark where a
// check failed, a tooltip per point, and a title naming the goods, listing,
// sort and range. Painted with QPainter; what to paint comes from
// board::chart_series, board::chart_layout and board::chart_labels.
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "board/chart_labels.h"
#include "board/chart_series.h"

namespace app {

class RankChart final : public QWidget {
    Q_OBJECT

  public:
    explicit RankChart(QWidget* parent = nullptr);

    void set_series(std::vector<board::ChartSeries> series);
    // Names the goods (legend, tooltip, title) and the cell (title). Without
    // it the legend shows goods IDs and the title only the goods and range.
    void set_labels(board::ChartLabels labels);
    // The time the ranges count back from; by default the clock's now.
    void set_now(std::function<std::int64_t()> now_ms) { now_ms_ = std::move(now_ms); }
    void set_range(board::ChartRange range);
    board::ChartRange range() const { return range_; }

    // The title drawn above the plot: "本店 辣条大礼包 · 辣条 · 销量 · 7 天".
    QString title() const;

    // The chart as a picture, and saved as PNG (false when writing failed).
    QImage picture();
    bool save_png(const QString& file);
    // Asks where to save the picture, and tells when it could not be written.
    void save_png_asked();

    // The text the tooltip shows for the point nearest to `pos` (empty: none near).
    QString tooltip_at(QPoint pos) const;

    static QColor colour_of(std::size_t series_index);

  signals:
    void range_changed(board::ChartRange range);

  protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    struct Frame;  // where the plot, the band and the axes lie for a size
    Frame frame() const;
    std::vector<board::ChartSeries> shown() const;
    void paint_axes(QPainter& painter, const Frame& f) const;
    void paint_series(QPainter& painter, const Frame& f,
                      const std::vector<board::ChartSeries>& series) const;
    void paint_heading(QPainter& painter, const std::vector<board::ChartSeries>& series) const;

    std::vector<board::ChartSeries> series_;
    board::ChartLabels labels_;
    board::ChartRange range_ = board::ChartRange::all;
    std::function<std::int64_t()> now_ms_;
};

}  // namespace app
