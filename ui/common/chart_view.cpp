#include "ui/common/chart_view.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <qcustomplot.h>

#include "ui/common/window_metrics.h"

namespace teravo {

namespace {

// Room above a histogram's tallest bar, as a share of its height.
constexpr double kHeadroom = 0.1;
// Half the range around a flat real series, as a share of its value.
constexpr double kFlatShare = 0.05;

// The time charts show five minor ticks between the labelled ones.
class FiveSubTicks : public QCPAxisTicker {
 protected:
  int getSubTickCount(double) override { return 5; }
};

}  // namespace

QSharedPointer<QCPAxisTicker> WholeTicks() {
  auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
  ticker->setTickStep(1.0);
  ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
  return ticker;
}

void StyleLegend(QCustomPlot& plot) {
  QFont font = plot.font();
  font.setPointSize(kTextPointSize - 1);
  plot.legend->setFont(font);
  plot.legend->setBrush(QColor(255, 255, 255, 210));
  plot.legend->setBorderPen(QPen(QColor(160, 160, 160)));
  plot.legend->setRowSpacing(0);
  plot.legend->setMargins(QMargins(4, 2, 4, 2));
  plot.axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
}

namespace {

double BarWidth(const ChartSeries& series) {
  // Bars stand at the lower edges of equal classes; one class wide, neighbours touch.
  constexpr int kClassSteps = 19;
  if (series.Count() < 2) return 1.0;
  const double width = (series.XValue(series.Count() - 1) - series.XValue(0)) / kClassSteps;
  return width > 0 ? width : 1.0;
}

// The band is light enough for the mean line to stay readable over it.
const QColor kBandFill(100, 149, 237, 70);
const QColor kBandEdge(100, 149, 237, 150);

std::optional<AxisSpan> Merged(std::optional<AxisSpan> a, std::optional<AxisSpan> b) {
  if (!a) return b;
  if (!b) return a;
  return AxisSpan{std::min(a->lower, b->lower), std::max(a->upper, b->upper)};
}

std::optional<AxisSpan> SpanOf(const std::vector<double>& values) {
  std::optional<AxisSpan> span;
  for (double value : values) {
    if (!std::isfinite(value)) continue;
    if (!span) span = AxisSpan{value, value};
    span->lower = std::min(span->lower, value);
    span->upper = std::max(span->upper, value);
  }
  return span;
}

}  // namespace

AxisSpan FitAxis(std::optional<AxisSpan> values, bool counts, bool fromZero) {
  if (!values) return {0, 1};
  AxisSpan span = *values;
  const bool neverNegative = span.lower >= 0;
  if (fromZero) {
    span.lower = std::min(0.0, span.lower);
    span.upper = span.upper > 0 ? span.upper * (1 + kHeadroom) : 1;
  } else if (span.lower == span.upper) {
    const double value = span.lower;
    const double half = counts || value == 0 ? 1 : std::abs(value) * kFlatShare;
    span = {value - half, value + half};
  }
  if (neverNegative) span.lower = std::max(0.0, span.lower);
  if (counts) {
    span.lower = std::floor(span.lower);
    span.upper = std::ceil(span.upper);
    // Headroom that rounding ate up comes back as one whole count.
    if (fromZero && span.upper <= values->upper) span.upper = values->upper + 1;
  }
  return span;
}

ChartView::ChartView(QWidget* parent, const QString& name, const QString& title, Kind kind,
                     std::optional<QColor> color, Counts counts)
    : plot_(new QCustomPlot(parent)), title_(title), kind_(kind), counts_(counts) {
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
  plot_->xAxis->setLabelFont(labelFont);
  plot_->yAxis->setLabelFont(labelFont);
  StyleLegend(*plot_);

  if (kind == Kind::Bars) {
    bars_ = new QCPBars(plot_->xAxis, plot_->yAxis);
    bars_->setWidthType(QCPBars::wtPlotCoords);
    bars_->setPen(QPen(Qt::black));
    if (color) bars_->setBrush(*color);
  } else {
    graph_ = plot_->addGraph();
    if (color) graph_->setPen(QPen(*color));
    if (kind == Kind::Impulse) {
      graph_->setLineStyle(QCPGraph::lsImpulse);
    } else {
      plot_->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new FiveSubTicks));
      plot_->yAxis->setTicker(QSharedPointer<QCPAxisTicker>(new FiveSubTicks));
      plot_->xAxis->setTickLength(0, 0);
    }
  }
  if (counts.x) plot_->xAxis->setTicker(WholeTicks());
  if (counts.y) plot_->yAxis->setTicker(WholeTicks());
  FitAxes(ChartSeries(), {});
}

bool ChartView::Show(const ChartSeries& series) {
  if (shownSeries_ == &series && shownVersion_ == series.Version()) return false;
  const ChartSeries::Points points = series.AllPoints();
  const QVector<double> xs(points.xs.begin(), points.xs.end());
  const QVector<double> ys(points.ys.begin(), points.ys.end());
  if (bars_) {
    bars_->setWidth(BarWidth(series));
    bars_->setData(xs, ys, true);
  } else {
    graph_->setData(xs, ys, true);
  }
  FitAxes(series, points);
  UpdateNote();
  plot_->replot(QCustomPlot::rpQueuedRefresh);
  shownSeries_ = &series;
  shownVersion_ = series.Version();
  return true;
}

void ChartView::FitAxes(const ChartSeries& series, const ChartSeries::Points& points) {
  std::optional<AxisSpan> keys = SpanOf(points.xs);
  if (keys && kind_ == Kind::Bars) {
    // The data stops at the outer bars' centres: a bar's width more on each side shows
    // them whole, with room around them, and keeps a lone bar from filling the plot.
    const double width = BarWidth(series);
    keys = AxisSpan{keys->lower - width, keys->upper + width};
  } else if (keys && kind_ == Kind::Impulse) {
    // The outer impulses would otherwise stand on the frame.
    keys = AxisSpan{keys->lower - 1, keys->upper + 1};
  }
  keys_ = keys;
  values_ = SpanOf(points.ys);
  ApplyAxes();
}

void ChartView::ApplyAxes() {
  const bool histogram = kind_ != Kind::Line;
  // A band wider than the curve must not be cut off by the axes.
  const std::optional<AxisSpan> values = ShowsBand() ? Merged(values_, bandValues_) : values_;
  const AxisSpan x = FitAxis(keys_, counts_.x, false);
  const AxisSpan y = FitAxis(values, counts_.y, histogram);
  plot_->xAxis->setRange(x.lower, x.upper);
  plot_->yAxis->setRange(y.lower, y.upper);
}

void ChartView::CreateBand() {
  // On a layer of its own below the line, so the line is drawn over the band.
  const QString layer = QStringLiteral("band");
  if (!plot_->layer(layer))
    plot_->addLayer(layer, plot_->layer(QStringLiteral("main")), QCustomPlot::limBelow);
  bandLow_ = new QCPGraph(plot_->xAxis, plot_->yAxis);
  bandHigh_ = new QCPGraph(plot_->xAxis, plot_->yAxis);
  for (QCPGraph* edge : {bandLow_, bandHigh_}) {
    edge->setLayer(layer);
    edge->setPen(QPen(kBandEdge));
    edge->setSelectable(QCP::stNone);
  }
  bandHigh_->setBrush(kBandFill);
  bandHigh_->setChannelFillGraph(bandLow_);
}

void ChartView::ShowBand(const ChartSeries* low, const ChartSeries* high) {
  if (!graph_) return;  // histograms have no band
  const bool wanted = low && high && low->Count() > 0 && high->Count() > 0;
  if (!wanted) {
    if (!ShowsBand()) return;
    bandLow_->setVisible(false);
    bandHigh_->setVisible(false);
    bandLowSeries_ = bandHighSeries_ = nullptr;
  } else {
    if (ShowsBand() && bandLowSeries_ == low && bandHighSeries_ == high &&
        bandLowVersion_ == low->Version() && bandHighVersion_ == high->Version())
      return;
    if (!bandLow_) CreateBand();
    const ChartSeries::Points lows = low->AllPoints();
    const ChartSeries::Points highs = high->AllPoints();
    bandLow_->setData(QVector<double>(lows.xs.begin(), lows.xs.end()),
                      QVector<double>(lows.ys.begin(), lows.ys.end()), true);
    bandHigh_->setData(QVector<double>(highs.xs.begin(), highs.xs.end()),
                       QVector<double>(highs.ys.begin(), highs.ys.end()), true);
    bandLow_->setVisible(true);
    bandHigh_->setVisible(true);
    bandValues_ = Merged(SpanOf(lows.ys), SpanOf(highs.ys));
    bandLowSeries_ = low;
    bandHighSeries_ = high;
    bandLowVersion_ = low->Version();
    bandHighVersion_ = high->Version();
  }
  UpdateLegend();
  ApplyAxes();
  plot_->replot(QCustomPlot::rpQueuedRefresh);
}

void ChartView::SetAxisTitles(const QString& x, const QString& y) {
  plot_->xAxis->setLabel(x);
  plot_->yAxis->setLabel(y);
  plot_->replot(QCustomPlot::rpQueuedRefresh);
}

void ChartView::SetSubtitle(const QString& text) {
  if (!subtitle_) {
    QFont font = plot_->font();
    font.setPointSize(kTextPointSize);
    font.setItalic(true);
    plot_->plotLayout()->insertRow(1);
    subtitle_ = new QCPTextElement(plot_, text, font);
    plot_->plotLayout()->addElement(1, 0, subtitle_);
  }
  subtitle_->setText(text);
  subtitle_->setVisible(!text.isEmpty());
  plot_->replot(QCustomPlot::rpQueuedRefresh);
}

QString ChartView::Subtitle() const {
  return subtitle_ && subtitle_->visible() ? subtitle_->text() : QString();
}

void ChartView::SetLegendNames(const QString& series, const QString& band) {
  seriesName_ = series;
  bandName_ = band;
  UpdateLegend();
}

bool ChartView::ShowsLegend() const {
  return plot_->legend->visible();
}

void ChartView::UpdateLegend() {
  const bool shown = ShowsBand() && !seriesName_.isEmpty() && !bandName_.isEmpty();
  plot_->legend->setVisible(shown);
  if (!shown || !graph_) return;
  graph_->setName(seriesName_);
  bandHigh_->setName(bandName_);
  // The band's lower edge is its upper edge's partner, not a thing of its own.
  bandLow_->removeFromLegend();
  if (!plot_->legend->hasItemWithPlottable(bandHigh_)) bandHigh_->addToLegend();
  if (!plot_->legend->hasItemWithPlottable(graph_)) graph_->addToLegend();
}

bool ChartView::ShowsBand() const {
  return bandHigh_ && bandHigh_->visible() && bandHigh_->data()->size() > 0;
}

void ChartView::SetEmptyNote(const QString& note) {
  if (!note_) {
    note_ = new QCPItemText(plot_);
    note_->setClipToAxisRect(true);
    note_->position->setType(QCPItemPosition::ptAxisRectRatio);
    note_->position->setCoords(0.5, 0.5);
    note_->setPositionAlignment(Qt::AlignCenter);
    QFont font = plot_->font();
    font.setPointSize(kChartTitlePointSize);
    note_->setFont(font);
    note_->setColor(Qt::darkGray);
  }
  note_->setText(note);
  UpdateNote();
  plot_->replot(QCustomPlot::rpQueuedRefresh);
}

bool ChartView::ShowsEmptyNote() const {
  return note_ && note_->visible() && !note_->text().isEmpty();
}

void ChartView::UpdateNote() {
  if (note_) note_->setVisible(PointCount() == 0);
}

int ChartView::PointCount() const {
  return bars_ ? bars_->data()->size() : graph_->data()->size();
}

}  // namespace teravo
