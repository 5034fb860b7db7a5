#include <gtest/gtest.h>

#include <QWidget>

#include <qcustomplot.h>

#include "play/chart_series.h"
#include "ui/chart_view.h"

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
