#pragma once
// The rank chart with its controls: the range buttons (24 小时 / 7 天 /
// 30 天 / 全部, the active one checked) and 保存为PNG图片 above the chart.
// Shown as a window of its own, Esc closes it.
#include <QWidget>

class QButtonGroup;

namespace app {

class RankChart;

class RankChartView final : public QWidget {
    Q_OBJECT

  public:
    explicit RankChartView(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    RankChart* chart() const { return chart_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The keyboard starts on the active range, not on the first button.
    void showEvent(QShowEvent* event) override;

  private:
    RankChart* chart_;
    QButtonGroup* ranges_;
};

}  // namespace app
