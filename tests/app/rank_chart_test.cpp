// The rank chart painted offscreen: a gap where a check failed, a stretch in
// the "not in the first 1000" band, competitors in their own colours.
#include "app/rank_chart.h"
#include "app/rank_chart_view.h"
#include "app/skin.h"
#include "history/store.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <cstdlib>

namespace {

using board::ChartPoint;
using board::PointKind;

constexpr std::int64_t kHour = 3600 * 1000;
// The plot lies below the title and the legend, above the band and the time labels.
constexpr int kPlotTop = 52;
constexpr int kPlotHeight = 320 - kPlotTop - 28 - 26 - 6;

ChartPoint at(int hour, PointKind kind, int rank = 0) {
    return {hour * kHour, kind, rank, kind == PointKind::failed ? "无法连接服务器" : ""};
}

std::vector<board::ChartSeries> sample() {
    return {{"4033138",
             true,
             {at(0, PointKind::rank, 40), at(1, PointKind::rank, 35), at(2, PointKind::failed),
              at(3, PointKind::rank, 30), at(4, PointKind::not_in_top_1000),
              at(5, PointKind::not_in_top_1000), at(6, PointKind::rank, 50)}},
            {"5550001",
             false,
             {at(0, PointKind::rank, 20), at(2, PointKind::rank, 25), at(4, PointKind::rank, 22),
              at(6, PointKind::rank, 28)}},
            {"5550002",
             false,
             {at(0, PointKind::rank, 60), at(3, PointKind::rank, 58), at(6, PointKind::rank, 45)}}};
}

bool near(QColor a, QColor b) {
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
               std::abs(a.blue() - b.blue()) <
           40;
}

int count_colour(const QImage& image, QRect area, QColor colour) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            n += near(image.pixelColor(x, y), colour) ? 1 : 0;
    }
    return n;
}

class RankChartPicture : public testing::Test {
  protected:
    RankChartPicture() {
        chart.resize(640, 320);
        chart.set_series(sample());
        chart.set_range(board::ChartRange::all);
        image = chart.picture();
        // Optional copy for the documentation.
        if (const char* out = std::getenv("KORVEL_CHART_PNG"))
            chart.save_png(QString::fromLocal8Bit(out));
    }
    // x of an hour on the 640-wide chart: the plot spans hours 0..6.
    static int x_of(double hour) { return 56 + static_cast<int>(hour / 6.0 * (640 - 56 - 12)); }

    app::RankChart chart;
    QImage image;
};

TEST_F(RankChartPicture, DrawsEveryGoodsInItsOwnColour) {
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_GT(count_colour(image, image.rect(), app::RankChart::colour_of(i)), 20) << i;
}

TEST_F(RankChartPicture, LeavesAGapWhereACheckFailed) {
    const QColor own = app::RankChart::colour_of(0);
    // Hours 1 to 3 hold the failed check of hour 2: no own line between them.
    const QRect between(x_of(1.2), kPlotTop, x_of(2.8) - x_of(1.2), kPlotHeight);
    EXPECT_EQ(count_colour(image, between, own), 0);
    // Hours 0 to 1 are joined.
    const QRect joined(x_of(0.2), kPlotTop, x_of(0.8) - x_of(0.2), kPlotHeight);
    EXPECT_GT(count_colour(image, joined, own), 0);
}

TEST_F(RankChartPicture, PutsNotInTheFirstThousandInTheBottomBand) {
    const QRect band(x_of(4.2), 320 - 28 - 26, x_of(4.8) - x_of(4.2), 26);
    EXPECT_GT(count_colour(image, band, app::RankChart::colour_of(0)), 0);
}

TEST_F(RankChartPicture, TooltipNamesTimeRankAndReason) {
    // Rank 1 lies at the top: going down from the top edge at hour 0, the first
    // point met is the best rank of that hour (20).
    QString best;
    for (int y = kPlotTop; y < 290 && best.isEmpty(); ++y)
        best = chart.tooltip_at(QPoint(x_of(0), y));
    EXPECT_TRUE(best.contains(QStringLiteral("5550001"))) << best.toStdString();
    EXPECT_TRUE(best.contains(QStringLiteral("第20名"))) << best.toStdString();
    const QString failed = chart.tooltip_at(QPoint(x_of(2), 320 - 28 - 1));
    EXPECT_TRUE(failed.contains(QStringLiteral("失败：无法连接服务器"))) << failed.toStdString();
}

TEST_F(RankChartPicture, RangeLeavesOutOlderPoints) {
    chart.set_now([] { return 6 * kHour + 1; });
    chart.set_range(board::ChartRange::day);
    EXPECT_GT(count_colour(chart.picture(), chart.rect(), app::RankChart::colour_of(0)), 0);
    chart.set_now([] { return 100 * kHour; });
    EXPECT_EQ(
        count_colour(chart.picture(), QRect(56, kPlotTop, 560, 200), app::RankChart::colour_of(0)),
        0);
}

TEST_F(RankChartPicture, BothGoodsAtOneRankStayInSight) {
    // A competitor holding the own goods' ranks exactly is not hidden under it.
    std::vector<board::ChartSeries> same = sample();
    same[1].points = same[0].points;
    same.resize(2);
    chart.set_series(same);
    chart.set_range(board::ChartRange::all);
    const QImage picture = chart.picture();
    const QRect plot(57, kPlotTop, 640 - 56 - 12 - 2, kPlotHeight);
    EXPECT_GT(count_colour(picture, plot, app::RankChart::colour_of(0)), 50);
    EXPECT_GT(count_colour(picture, plot, app::RankChart::colour_of(1)), 50);
}

TEST(RankChartView, MarksTheActiveRangeAndEscClosesItsWindow) {
    app::RankChartView view(nullptr, Qt::Window);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const auto buttons = view.findChildren<QAbstractButton*>();
    const auto caption = [&](const QString& text) {
        for (QAbstractButton* b : buttons) {
            if (b->text() == text)
                return b;
        }
        return static_cast<QAbstractButton*>(nullptr);
    };
    ASSERT_NE(caption(QStringLiteral("保存为PNG图片")), nullptr);
    QAbstractButton* week = caption(QStringLiteral("7 天"));
    QAbstractButton* all = caption(QStringLiteral("全部"));
    ASSERT_TRUE(week && all);
    EXPECT_TRUE(all->isChecked());
    week->click();
    EXPECT_EQ(view.chart()->range(), board::ChartRange::week);
    EXPECT_TRUE(week->isChecked());
    EXPECT_FALSE(all->isChecked());
    view.chart()->set_range(board::ChartRange::all);
    EXPECT_TRUE(all->isChecked());
    EXPECT_FALSE(week->isChecked());

    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_FALSE(view.isVisible());
}

// The picture in the README: the history of korvel-check runs against the
// local simulator (KORVEL_CHART_HISTORY, the keyword KORVEL_CHART_KEYWORD under
// 综合), drawn to KORVEL_CHART_PNG with the goods named by KORVEL_CHART_NAMES
// ("ID=name,ID=name").
TEST(RankChartDocumentation, PictureFromAHistory) {
    const char* db = std::getenv("KORVEL_CHART_HISTORY");
    const char* out = std::getenv("KORVEL_CHART_PNG");
    const char* keyword = std::getenv("KORVEL_CHART_KEYWORD");
    if (db == nullptr || out == nullptr || keyword == nullptr)
        GTEST_SKIP() << "no history to draw";
    auto store = history::Store::open(db);
    ASSERT_TRUE(store.ok());
    history::CheckFilter filter;
    filter.listing = history::Listing::keyword;
    filter.key = keyword;
    filter.sort = history::Sort::default_order;
    std::vector<history::Check> checks;
    ASSERT_TRUE(store.value()
                    .for_each_check(filter,
                                    [&](const history::Check& c) {
                                        checks.push_back(c);
                                        return true;
                                    })
                    .ok());
    board::ChartLabels labels{keyword, "综合", {}};
    for (const QString& pair :
         QString::fromUtf8(std::getenv("KORVEL_CHART_NAMES")).split(QLatin1Char(','))) {
        const QStringList parts = pair.split(QLatin1Char('='));
        if (parts.size() == 2)
            labels.names[parts[0].toStdString()] = parts[1].toStdString();
    }
    // Skinned as the program shows it.
    const std::string_view sheet = app::skin_style_sheet(app::skin_block());
    qApp->setStyleSheet(QString::fromUtf8(sheet.data(), static_cast<qsizetype>(sheet.size())));
    app::RankChartView view;
    view.resize(760, 420);
    view.chart()->set_series(board::chart_series(checks));
    view.chart()->set_labels(labels);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_TRUE(view.grab().save(QString::fromLocal8Bit(out), "PNG"));
    qApp->setStyleSheet(QString());
}

}  // namespace
