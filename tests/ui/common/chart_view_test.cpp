#include <gtest/gtest.h>

#include <cmath>

#include <QWidget>

#include <qcustomplot.h>

#include "results/chart_series.h"
#include "ui/common/chart_view.h"

namespace teravo::test {
namespace {

QCPTextElement* TitleOf(const ChartView& view) {
  return qobject_cast<QCPTextElement*>(view.Plot()->plotLayout()->element(0, 0));
}

TEST(ChartView, IsWhiteWithoutLegendAndCarriesItsTitle) {
  QWidget parent;
  ChartView view(&parent, "chNums", QStringLiteral("Количество работающих клиентов"),
                 ChartView::Kind::Line, QColor(Qt::black));
  EXPECT_EQ(view.Plot()->objectName(), QStringLiteral("chNums"));
  EXPECT_FALSE(view.Plot()->legend->visible());
  ASSERT_NE(TitleOf(view), nullptr);
  EXPECT_EQ(TitleOf(view)->text(), QStringLiteral("Количество работающих клиентов"));
  EXPECT_EQ(view.Plot()->graph(0)->pen().color(), QColor(Qt::black));
  EXPECT_EQ(view.Plot()->graph(0)->lineStyle(), QCPGraph::lsLine);
}

TEST(ChartView, CopiesASeriesOnlyWhenItChangedAndScalesTheAxesToIt) {
  QWidget parent;
  ChartView view(&parent, "chAvTer", QStringLiteral("t"), ChartView::Kind::Line, std::nullopt);
  ChartSeries series;
  series.AddXY(0, 5);
  series.AddXY(2, 9);
  EXPECT_TRUE(view.Show(series));
  EXPECT_FALSE(view.Show(series));
  EXPECT_EQ(view.PointCount(), 2);
  EXPECT_DOUBLE_EQ(view.Plot()->xAxis->range().lower, 0);
  EXPECT_DOUBLE_EQ(view.Plot()->xAxis->range().upper, 2);
  EXPECT_DOUBLE_EQ(view.Plot()->yAxis->range().upper, 9);

  series.SetYValue(1, 20);
  EXPECT_TRUE(view.Show(series));
  EXPECT_DOUBLE_EQ(view.Plot()->yAxis->range().upper, 20);
  series.Clear();
  EXPECT_TRUE(view.Show(series));
  EXPECT_EQ(view.PointCount(), 0);
}

TEST(ChartView, HistogramDrawsImpulses) {
  QWidget parent;
  ChartView view(&parent, "chErrorsGist", QStringLiteral("g"), ChartView::Kind::Impulse,
                 QColor(Qt::black));
  EXPECT_EQ(view.Plot()->graph(0)->lineStyle(), QCPGraph::lsImpulse);
}

QCPBars* BarsOf(const ChartView& view) {
  return qobject_cast<QCPBars*>(view.Plot()->plottable(0));
}

TEST(ChartView, BarsAreOneClassWideSoNeighboursTouch) {
  QWidget parent;
  ChartView view(&parent, "chWorkClients", QStringLiteral("b"), ChartView::Kind::Bars,
                 QColor(229, 229, 229));
  ASSERT_NE(BarsOf(view), nullptr);
  EXPECT_EQ(BarsOf(view)->brush().color(), QColor(229, 229, 229));
  EXPECT_EQ(BarsOf(view)->widthType(), QCPBars::wtPlotCoords);

  ChartSeries spread;
  for (int k = 0; k < 20; ++k) spread.AddXY(10 + 38.0 * k / 19, k == 3 ? 1 : 0);
  view.Show(spread);
  EXPECT_DOUBLE_EQ(BarsOf(view)->width(), 2.0);
  // The outer bars whole, and half a bar of room beyond them.
  EXPECT_DOUBLE_EQ(view.Plot()->xAxis->range().lower, 8.0);
  EXPECT_DOUBLE_EQ(view.Plot()->xAxis->range().upper, 50.0);

  // All plays alike: every bar at the same x; a width of zero would hide them.
  ChartSeries alike;
  for (int k = 0; k < 20; ++k) alike.AddXY(7, k == 0 ? 1 : 0);
  view.Show(alike);
  EXPECT_DOUBLE_EQ(BarsOf(view)->width(), 1.0);
}

}  // namespace
}  // namespace teravo::test

namespace teravo::test {
namespace {

struct FitCase {
  const char* what;
  std::optional<AxisSpan> values;
  bool counts;
  bool fromZero;
  AxisSpan expected;
};

TEST(FitAxis, StartsHistogramsAtZeroKeepsCountsWholeAndOpensFlatSeries) {
  const FitCase cases[] = {
      {"nothing to show", std::nullopt, false, false, {0, 1}},
      {"histogram of counts", AxisSpan{0, 3}, true, true, {0, 4}},
      {"histogram of counts, headroom lost to rounding", AxisSpan{2, 10}, true, true, {0, 11}},
      {"histogram of shares", AxisSpan{0.25, 0.5}, false, true, {0, 0.55}},
      {"histogram of zeros", AxisSpan{0, 0}, true, true, {0, 1}},
      {"flat time at zero", AxisSpan{0, 0}, false, false, {0, 1}},
      {"flat real", AxisSpan{4, 4}, false, false, {3.8, 4.2}},
      {"flat negative real", AxisSpan{-2, -2}, false, false, {-2.1, -1.9}},
      {"flat count", AxisSpan{7, 7}, true, false, {6, 8}},
      {"averaged counts", AxisSpan{99.1, 99.4}, true, false, {99, 100}},
      {"plain real", AxisSpan{0, 2}, false, false, {0, 2}},
  };
  for (const FitCase& item : cases) {
    const AxisSpan span = FitAxis(item.values, item.counts, item.fromZero);
    EXPECT_DOUBLE_EQ(span.lower, item.expected.lower) << item.what;
    EXPECT_DOUBLE_EQ(span.upper, item.expected.upper) << item.what;
  }
}

TEST(ChartView, CountAxesTickAtWholeNumbersOnly) {
  QWidget parent;
  ChartView view(&parent, "chClientErrors", QStringLiteral("c"), ChartView::Kind::Line,
                 std::nullopt, ChartView::Counts{.y = true});
  view.Plot()->resize(400, 250);
  ChartSeries averaged;
  for (int i = 0; i <= 10; ++i) averaged.AddXY(i * 0.1, 99.1 + i * 0.03);
  view.Show(averaged);
  view.Plot()->replot(QCustomPlot::rpImmediateRefresh);
  const QVector<double> ticks = view.Plot()->yAxis->tickVector();
  ASSERT_FALSE(ticks.isEmpty());
  for (double tick : ticks) EXPECT_EQ(tick, std::round(tick)) << tick;
}

TEST(ChartView, HistogramsStandOnZeroWithRoomAboveTheTallestBar) {
  QWidget parent;
  ChartView gist(&parent, "chErrorsGist", QStringLiteral("g"), ChartView::Kind::Impulse,
                 std::nullopt, ChartView::Counts{.x = true, .y = true});
  ChartView bars(&parent, "chWorkClients", QStringLiteral("b"), ChartView::Kind::Bars,
                 std::nullopt);
  ChartSeries series;
  for (int k = 1; k <= 100; ++k) series.AddXY(k, 40 + k % 7);
  for (ChartView* view : {&gist, &bars}) {
    view->Show(series);
    EXPECT_EQ(view->Plot()->yAxis->range().lower, 0) << view->Plot()->objectName().toStdString();
    EXPECT_GT(view->Plot()->yAxis->range().upper, 46) << view->Plot()->objectName().toStdString();
  }
}

TEST(ChartView, AnEmptyChartShowsItsNoteAndNoNegativeRange) {
  QWidget parent;
  ChartView view(&parent, "chErrorsInClients", QStringLiteral("e"), ChartView::Kind::Bars,
                 std::nullopt, ChartView::Counts{.x = true});
  view.SetEmptyNote(QStringLiteral("none left"));
  ChartSeries series;
  series.AddXY(3, 0.5);
  series.AddXY(5, 0.5);
  view.Show(series);
  EXPECT_FALSE(view.ShowsEmptyNote());
  series.Clear();
  view.Show(series);
  EXPECT_TRUE(view.ShowsEmptyNote());
  for (const QCPAxis* axis : {view.Plot()->xAxis, view.Plot()->yAxis}) {
    EXPECT_EQ(axis->range().lower, 0);
    EXPECT_EQ(axis->range().upper, 1);
  }
}

}  // namespace
}  // namespace teravo::test
