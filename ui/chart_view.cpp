#include "ui/chart_view.h"

#include <qcustomplot.h>

#include "ui/window_metrics.h"

namespace teravo {

namespace {

// The time charts show five minor ticks between the labelled ones.
class FiveSubTicks : public QCPAxisTicker {
 protected:
  int getSubTickCount(double) override { return 5; }
};

void SetUpTimeAxes(QCustomPlot* plot) {
  plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new FiveSubTicks));
  plot->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new FiveSubTicks));
  plot->xAxis->setTickLength(0, 0);
}

double BarWidth(const ChartSeries& series) {
  // Bars stand at the lower edges of equal classes; one class wide, neighbours touch.
  constexpr int kClassSteps = 19;
  if (series.Count() < 2) return 1.0;
  const double width = (series.XValue(series.Count() - 1) - series.XValue(0)) / kClassSteps;
  return width > 0 ? width : 1.0;
}

}  // namespace

ChartView::ChartView(QWidget* parent, const QString& name, const QString& title, Kind kind,
                     std::optional<QColor> color)
    : plot_(new QCustomPlot(parent)) {
  plot_->setObjectName(name);
  plot_->setBackground(Qt::white);
  plot_->legend->setVisible(false);
  QFont labelFont = plot_->font();
  labelFont.setPointSize(kTextPointSize);
  plot_->xAxis->setTickLabelFont(labelFont);
  plot_->yAxis->setTickLabelFont(labelFont);
  plot_->plotLayout()->insertRow(0);
  QFont titleFont = labelFont;
  titleFont.setPointSize(kChartTitlePointSize);
  plot_->plotLayout()->addElement(0, 0, new QCPTextElement(plot_, title, titleFont));

  if (kind == Kind::Bars) {
    bars_ = new QCPBars(plot_->xAxis, plot_->yAxis);
    bars_->setWidthType(QCPBars::wtPlotCoords);
    bars_->setPen(QPen(Qt::black));
    if (color) bars_->setBrush(*color);
    return;
  }
  graph_ = plot_->addGraph();
  if (color) graph_->setPen(QPen(*color));
  if (kind == Kind::Impulse) {
    graph_->setLineStyle(QCPGraph::lsImpulse);
  } else {
    SetUpTimeAxes(plot_);
  }
}

bool ChartView::Show(const ChartSeries& series) {
  if (shownSeries_ == &series && shownVersion_ == series.Version()) return false;
  const auto points = series.AllPoints();
  const QVector<double> xs(points.xs.begin(), points.xs.end());
  const QVector<double> ys(points.ys.begin(), points.ys.end());
  if (bars_) {
    bars_->setWidth(BarWidth(series));
    bars_->setData(xs, ys, true);
  } else {
    graph_->setData(xs, ys, true);
  }
  plot_->rescaleAxes();
  if (bars_) {
    // Rescaling stops at the outer bars' centres: a bar's width more on each side shows
    // them whole, with room around them, and keeps a lone bar from filling the plot.
    const double width = BarWidth(series);
    const QCPRange keys = plot_->xAxis->range();
    plot_->xAxis->setRange(keys.lower - width, keys.upper + width);
  }
  plot_->replot(QCustomPlot::rpQueuedRefresh);
  shownSeries_ = &series;
  shownVersion_ = series.Version();
  return true;
}

int ChartView::PointCount() const {
  return bars_ ? bars_->data()->size() : graph_->data()->size();
}

}  // namespace teravo
