#include "app/rank_chart.h"

#include <QContextMenuEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <limits>

#include "board/chart_layout.h"
#include "board/words.h"

namespace app {

namespace {

constexpr int kLeft = 56;
constexpr int kRight = 12;
constexpr int kTop = 52;  // the title and the legend above the plot
constexpr int kBottom = 28;
constexpr int kBandHeight = 26;
constexpr int kBandGap = 6;
constexpr int kNearPixels = 8;
constexpr int kLegendMinText = 40;
const QColor kFailedColour(200, 30, 30);

std::int64_t now_on_clock() {
    return QDateTime::currentMSecsSinceEpoch();
}

QString time_text(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString utf8(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::int64_t utc_offset_ms(std::int64_t at_ms) {
    return std::int64_t{QDateTime::fromMSecsSinceEpoch(at_ms).offsetFromUtc()} * 1000;
}

QString point_text(const board::ChartPoint& p) {
    switch (p.kind) {
        case board::PointKind::rank:
            return QStringLiteral("第%1名").arg(p.rank);
        case board::PointKind::not_in_top_1000:
            return utf8(board::kNotInTopWord);
        case board::PointKind::failed:
            break;
    }
    return p.reason.empty() ? utf8(board::kFailedWord)
                            : utf8(board::kFailedWord) + QStringLiteral("：") + utf8(p.reason);
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
    int y_of_rank(int rank) const {
        const double span = std::max(1, axis.bottom - axis.top);
        return plot.top() + static_cast<int>((rank - axis.top) / span * plot.height());
    }
    // A failed check sits on the band's lower edge, where its red mark is.
    int y_of(const board::ChartPoint& p, int lane = 0) const {
        const int shift = board::lane_offset(lane);
        if (p.kind == board::PointKind::failed)
            return band.bottom();
        if (p.kind == board::PointKind::not_in_top_1000)
            return band.center().y() + shift;
        return y_of_rank(p.rank) + shift;
    }
};

RankChart::RankChart(QWidget* parent) : QWidget(parent), now_ms_(now_on_clock) {
    setMinimumSize(360, 240);
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

void RankChart::set_labels(board::ChartLabels labels) {
    labels_ = std::move(labels);
    update();
}

void RankChart::set_range(board::ChartRange range) {
    const bool changed = range != range_;
    range_ = range;
    update();
    if (changed)
        emit range_changed(range);
}

QString RankChart::title() const {
    return QString::fromStdString(board::chart_title(series_, labels_, range_));
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

void RankChart::paint_axes(QPainter& painter, const Frame& f) const {
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(f.plot);
    painter.fillRect(f.band, QColor(236, 236, 236));
    const QRect label_box(0, 0, kLeft - 6, 14);
    for (const int rank : board::rank_ticks(f.axis, std::max(2, f.plot.height() / 28))) {
        const int y = f.y_of_rank(rank);
        painter.setPen(QColor(235, 235, 235));
        painter.drawLine(f.plot.left() + 1, y, f.plot.right() - 1, y);
        painter.setPen(QColor(90, 90, 90));
        painter.drawText(label_box.translated(0, y - 7), Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("第%1名").arg(rank));
    }
    painter.drawText(label_box.translated(0, f.band.center().y() - 7),
                     Qt::AlignRight | Qt::AlignVCenter, utf8(board::kNotInTopWord));
    const int label_top = height() - kBottom + 6;
    for (const auto& tick : board::time_ticks(f.first_ms, f.last_ms, utc_offset_ms(f.last_ms),
                                              std::max(1, f.plot.width() / 90))) {
        const int x = f.x_of(tick.time_ms);
        painter.setPen(QColor(200, 200, 200));
        painter.drawLine(x, f.band.bottom(), x, f.band.bottom() + 4);
        painter.setPen(QColor(90, 90, 90));
        const QString text = QString::fromStdString(tick.text);
        const int w = painter.fontMetrics().horizontalAdvance(text);
        const int left = std::clamp(x - w / 2, 0, std::max(0, width() - w));
        painter.drawText(QRect(left, label_top, w + 1, 16), Qt::AlignLeft, text);
    }
}

void RankChart::paint_series(QPainter& painter, const Frame& f,
                             const std::vector<board::ChartSeries>& series) const {
    const std::vector<std::vector<int>> lanes = board::lanes(series);
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto& points = series[i].points;
        // Smoothing a line of more points than the plot has pixels across
        // costs most of the paint and shows nothing: a year drawn over 全部.
        painter.setRenderHint(QPainter::Antialiasing,
                              points.size() <= static_cast<std::size_t>(f.plot.width()));
        QPainterPath path;
        bool open = false;  // a failed check ends the line: the next point starts anew
        for (std::size_t k = 0; k < points.size(); ++k) {
            if (points[k].kind == board::PointKind::failed) {
                open = false;
                continue;
            }
            const QPointF at(f.x_of(points[k].time_ms), f.y_of(points[k], lanes[i][k]));
            if (open)
                path.lineTo(at);
            else
                path.moveTo(at);
            open = true;
        }
        painter.setPen(QPen(colour_of(i), series[i].own ? 2.5 : 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.setBrush(colour_of(i));
        for (std::size_t k = 0; k < points.size(); ++k) {
            const int x = f.x_of(points[k].time_ms);
            if (points[k].kind != board::PointKind::failed) {
                painter.drawEllipse(QPointF(x, f.y_of(points[k], lanes[i][k])), 2.5, 2.5);
                continue;
            }
            painter.setPen(QPen(kFailedColour, 2));
            painter.drawLine(x, f.band.bottom() - 6, x, f.band.bottom());
            painter.setPen(QPen(colour_of(i), series[i].own ? 2.5 : 1.5));
        }
    }
}

void RankChart::paint_heading(QPainter& painter,
                              const std::vector<board::ChartSeries>& series) const {
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(QColor(40, 40, 40));
    const QRect title_box(kLeft, 4, width() - kLeft - kRight, 20);
    painter.drawText(title_box, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(title(), Qt::ElideRight, title_box.width()));
    bold.setBold(false);
    painter.setFont(bold);
    // The legend flows along one line; what does not fit is named in the tooltips.
    int x = kLeft;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const int room = width() - kRight - x - 16;
        if (room < kLegendMinText)
            break;
        const QString who = QString::fromStdString(board::series_label(series[i], labels_));
        const QString shown = painter.fontMetrics().elidedText(who, Qt::ElideRight, room);
        const int text_width = painter.fontMetrics().horizontalAdvance(shown);
        painter.fillRect(QRect(x, 30, 12, 12), colour_of(i));
        painter.setPen(QColor(60, 60, 60));
        painter.drawText(QRect(x + 16, 28, text_width + 1, 16), Qt::AlignLeft | Qt::AlignVCenter,
                         shown);
        x += 16 + text_width + 20;
    }
}

void RankChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    const Frame f = frame();
    const std::vector<board::ChartSeries> series = shown();
    paint_axes(painter, f);
    paint_series(painter, f, series);
    paint_heading(painter, series_);
}

QString RankChart::tooltip_at(QPoint pos) const {
    const Frame f = frame();
    const std::vector<board::ChartSeries> series = shown();
    const std::vector<std::vector<int>> lanes = board::lanes(series);
    int best_distance = kNearPixels + 1;
    QString text;
    for (std::size_t i = 0; i < series.size(); ++i) {
        const auto& s = series[i];
        for (std::size_t k = 0; k < s.points.size(); ++k) {
            const auto& p = s.points[k];
            const int y = f.y_of(p, lanes[i][k]);
            const int distance = std::abs(f.x_of(p.time_ms) - pos.x()) + std::abs(y - pos.y());
            if (distance >= best_distance)
                continue;
            best_distance = distance;
            QString who = QString::fromStdString(board::series_label(s, labels_));
            if (!who.endsWith(QString::fromStdString(s.goods_id)))
                who += QStringLiteral("（%1）").arg(QString::fromStdString(s.goods_id));
            text = who + QStringLiteral("\n") + time_text(p.time_ms) + QStringLiteral("\n") +
                   point_text(p);
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

void RankChart::save_png_asked() {
    // The filter's pattern keeps ASCII parentheses: the dialog only reads those.
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("保存图表"),
                                                      QStringLiteral("排名走势.png"),
                                                      QStringLiteral("PNG 图片 (*.png)"));
    if (!file.isEmpty() && !save_png(file))
        QMessageBox::warning(this, QStringLiteral("保存图表"),
                             QStringLiteral("图片无法写入：") + file);
}

void RankChart::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* save = menu.addAction(QStringLiteral("保存为PNG图片…"));
    if (menu.exec(event->globalPos()) == save)
        save_png_asked();
}

}  // namespace app
