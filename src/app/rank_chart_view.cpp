#include "app/rank_chart_view.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/rank_chart.h"
#include "board/chart_labels.h"

namespace app {

namespace {

constexpr board::ChartRange kRanges[] = {board::ChartRange::day, board::ChartRange::week,
                                         board::ChartRange::month, board::ChartRange::all};

}  // namespace

RankChartView::RankChartView(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), chart_(new RankChart(this)), ranges_(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* controls = new QHBoxLayout();
    QButtonGroup* ranges = ranges_;
    ranges->setExclusive(true);
    for (const board::ChartRange range : kRanges) {
        const std::string_view word = board::range_word(range);
        auto* b = new QPushButton(
            QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())), this);
        b->setCheckable(true);
        b->setChecked(range == chart_->range());
        ranges->addButton(b, static_cast<int>(range));
        controls->addWidget(b);
    }
    connect(ranges, &QButtonGroup::idClicked, chart_,
            [chart = chart_](int id) { chart->set_range(static_cast<board::ChartRange>(id)); });
    // A range set by the caller marks its button too.
    connect(chart_, &RankChart::range_changed, ranges, [ranges](board::ChartRange range) {
        if (QAbstractButton* b = ranges->button(static_cast<int>(range)))
            b->setChecked(true);
    });
    controls->addStretch();
    auto* save = new QPushButton(QStringLiteral("保存为PNG图片"), this);
    save->setObjectName(QStringLiteral("保存图片"));
    connect(save, &QPushButton::clicked, chart_, &RankChart::save_png_asked);
    controls->addWidget(save);
    layout->addLayout(controls);
    layout->addWidget(chart_, 1);
}

void RankChartView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (QAbstractButton* active = ranges_->checkedButton())
        active->setFocus(Qt::OtherFocusReason);
}

void RankChartView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && isWindow()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace app
