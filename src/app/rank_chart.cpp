#include "app/rank_chart.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <limits>

namespace app {

namespace {

constexpr int kLeft = 56;
constexpr int kRight = 12;
constexpr int kTop = 24;
constexpr int kBottom = 28;
constexpr int kBandHeight = 26;
constexpr int kBandGap = 6;
constexpr int kNearPixels = 8;

std::int64_t now_on_clock() {
    return QDateTime::currentMSecsSinceEpoch();
}

QString time_text(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

}  // namespace

struct RankChart::Frame {
    QRect plot;  // ranks
    QRect band;  // not in the first 1000
    board::RankAxis axis;
    std::int64_t first_ms = 0;
    std::int64_t last_ms = 1;

    int x_of(std::int64_t ms) const {
        const double span = static_cast<double>(std::max<std::int64_t>(1, last_ms - first_ms));
        return plot.left() + static_cast<int>((ms - first_ms) / span * plot.width());
    }
    int y_of(const board::ChartPoint& p) const {
        if (p.kind != board::PointKind::rank)
            return band.center().y();
        const double span = std::max(1, axis.bottom - axis.top);
        return plot.top() + static_cast<int>((p.rank - axis.top) / span * plot.height());
    }
};

RankChart::RankChart(QWidget* parent) : QWidget(parent), now_ms_(now_on_clock) {
    setMinimumSize(360, 220);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor RankChart::colour_of(std::size_t series_index) {
    static const QColor kColours[] = {QColor(0, 102, 204), QColor(220, 80, 40),
                                      QColor(40, 160, 70), QColor(150, 60, 170),
                                      QColor(200, 150, 0), QColor(0, 150, 160)};
    return kColours[series_index % std::size(kColours)];
}

void RankChart::set_series(std::vector<board::ChartSeries> series) {
    series_ = std::move(series);
    update();
}

void RankChart::set_range(board::ChartRange range) {
    range_ = range;
    update();
}

std::vector<board::ChartSeries> RankChart::shown() const {
    return board::since(series_, board::range_start_ms(range_, now_ms_()));
}

RankChart::Frame RankChart::frame() const {
    Frame f;
    const QRect inner = rect().adjusted(kLeft, kTop, -kRight, -kBottom);
    f.band = QRect(inner.left(), inner.bottom() - kBandHeight + 1, inner.width(), kBandHeight);
    f.plot = QRect(inner.left(), inner.top(), inner.width(),
                   std::max(10, inner.height() - kBandHeight - kBandGap));
    const std::vector<board::ChartSeries> series = shown();
    f.axis = board::rank_axis(series);
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const auto& s : series) {
        for (const auto& p : s.points) {
            first = std::min(first, p.time_ms);
            last = std::max(last, p.time_ms);
        }
    }
    if (range_ != board::ChartRange::all) {
        first = board::range_start_ms(range_, now_ms_());
        last = std::max(last, now_ms_());
    }
    if (first > last)
        first = last = now_ms_();
    f.first_ms = first;
    f.last_ms = std::max(last, first + 1);
    return f;
}

void RankChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    const Frame f = frame();

    // Axes, rank labels (rank 1 at the top) and the band.
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(f.plot);
    painter.fillRect(f.band, QColor(236, 236, 236));
    painter.setPen(QColor(90, 90, 90));
    const QRect label_box(0, 0, kLeft - 6, 14);
    for (int i = 0; i <= 4; ++i) {
        const int rank = f.axis.top + (f.axis.bottom - f.axis.top) * i / 4;
        const int y = f.y_of({0, board::PointKind::rank, rank, {}});
        painter.drawText(label_box.translated(0, y - 7), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("第%1名").arg(rank));
    }
    painter.drawText(label_box.translated(0, f.band.center().y() - 7),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("千名外"));
    painter.drawText(QRect(f.plot.left(), height() - kBottom + 6, f.plot.width(), 16),
                     Qt::AlignLeft, time_text(f.first_ms));
    painter.drawText(QRect(f.plot.left(), height() - kBottom + 6, f.plot.width(), 16),
                     Qt::AlignRight, time_text(f.last_ms));

    const std::vector<board::ChartSeries> series = shown();
    for (std::size_t i = 0; i < series.size(); ++i) {
        const QColor colour = colour_of(i);
        QPainterPath path;
        bool open = false;  // a failed check ends the line: the next point starts anew
        for (const auto& p : series[i].points) {
            if (p.kind == board::PointKind::failed) {
                open = false;
                continue;
            }
            const QPointF at(f.x_of(p.time_ms), f.y_of(p));
            if (open)
                path.lineTo(at);
            else
                path.moveTo(at);
            open = true;
        }
        painter.setPen(QPen(colour, series[i].own ? 2.5 : 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour);
        for (const auto& p : series[i].points) {
            if (p.kind != board::PointKind::failed)
                painter.drawEllipse(QPointF(f.x_of(p.time_ms), f.y_of(p)), 2.5, 2.5);
        }
        // Legend along the top.
        const int x = kLeft + static_cast<int>(i) * 130;
        painter.fillRect(QRect(x, 6, 12, 12), colour);
        painter.setPen(QColor(60, 60, 60));
        const QString who = series[i].own ? QStringLiteral("本店") : QStringLiteral("竞品");
        painter.drawText(QRect(x + 16, 4, 112, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         who + QStringLiteral(" ") + QString::fromStdString(series[i].goods_id));
    }
}

QString RankChart::tooltip_at(QPoint pos) const {
    const Frame f = frame();
    const std::vector<board::ChartSeries> series = shown();
    int best_distance = kNearPixels + 1;
    QString text;
    for (const auto& s : series) {
        for (const auto& p : s.points) {
            const int y = p.kind == board::PointKind::failed ? f.band.bottom() : f.y_of(p);
            const int distance = std::abs(f.x_of(p.time_ms) - pos.x()) + std::abs(y - pos.y());
            if (distance >= best_distance)
                continue;
            best_distance = distance;
            QString what;
            if (p.kind == board::PointKind::rank)
                what = QStringLiteral("第%1名").arg(p.rank);
            else if (p.kind == board::PointKind::not_in_top_1000)
                what = QStringLiteral("前1000名没有找到");
            else
                what = QStringLiteral("查询失败：") + QString::fromStdString(p.reason);
            text = QString::fromStdString(s.goods_id) + QStringLiteral("\n") +
                   time_text(p.time_ms) + QStringLiteral("\n") + what;
        }
    }
    return text;
}

bool RankChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = tooltip_at(help->pos());
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), text, this);
        return true;
    }
    return QWidget::event(event);
}

QImage RankChart::picture() {
    QImage image(size(), QImage::Format_RGB32);
    render(&image);
    return image;
}

bool RankChart::save_png(const QString& file) {
    return picture().save(file, "PNG");
}

void RankChart::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* save = menu.addAction(QStringLiteral("保存为PNG图片…"));
    if (menu.exec(event->globalPos()) != save)
        return;
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("保存图表"),
                                                      QStringLiteral("排名走势.png"),
                                                      QStringLiteral("PNG 图片 (*.png)"));
    if (!file.isEmpty())
        save_png(file);
}

}  // namespace app
