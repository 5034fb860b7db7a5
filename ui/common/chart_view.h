#pragma once

#include <cstdint>
#include <optional>

#include <QColor>
#include <QSharedPointer>
#include <QString>

#include "results/chart_series.h"

class QCPAxisTicker;
class QCPBars;
class QCPGraph;
class QCPItemText;
class QCPTextElement;
class QCustomPlot;
class QWidget;

namespace teravo {

// The range one axis shows.
struct AxisSpan {
  double lower;
  double upper;
  bool operator==(const AxisSpan&) const = default;
};

// How an axis fits its values (`values` null: the chart is empty).
//  - An axis of counts shows whole numbers only, so its ends are whole too.
//  - A histogram's value axis starts at 0 and leaves headroom above the tallest bar.
//  - A flat series gets a small range around its value; values that are never negative
//    (times, counts) never get a negative end.
//  - An empty chart shows 0 ... 1.
AxisSpan FitAxis(std::optional<AxisSpan> values, bool counts, bool fromZero);

// Ticks at whole numbers only (1, 2, 5, 10, ...): a count of 99,25 errors means nothing.
QSharedPointer<QCPAxisTicker> WholeTicks();
// A small legend in the plot's top left corner, over a nearly opaque white.
void StyleLegend(QCustomPlot& plot);

// Which axes of a chart count something (clients, errors), and so tick at whole numbers only.
struct ChartCounts {
  bool x = false;
  bool y = false;
};

// One chart of a results window: a QCustomPlot with a title, a white background, exactly one
// series (and a band around it), its axes always fitted to the data. A legend shows while the
// band does, so that two things drawn are told apart.
class ChartView {
 public:
  enum class Kind {
    Line,     // a polyline through the points (the time charts)
    Impulse,  // a vertical line from 0 to y at each x (the error histogram)
    Bars,     // touching bars standing at their x (the distributions)
  };
  using Counts = ChartCounts;

  // `color` is the series' colour; none leaves QCustomPlot's default.
  ChartView(QWidget* parent, const QString& name, const QString& title, Kind kind,
            std::optional<QColor> color, Counts counts = {});

  QCustomPlot* Plot() const { return plot_; }
  // Copies the series and replots when it has changed since it was last shown, so a window
  // repainted a hundred times per play copies each series only when the driver changed it.
  // The replotted chart reaches the screen with the widget's next paint. True when replotted.
  bool Show(const ChartSeries& series);
  int PointCount() const;
  // Written across the plot while it has no points.
  void SetEmptyNote(const QString& note);
  bool ShowsEmptyNote() const;
  // A shaded band between two series, drawn behind the line (the spread of the plays around a
  // mean curve); null series, or series without points, hide it. Replots when it changed.
  void ShowBand(const ChartSeries* low, const ChartSeries* high);
  bool ShowsBand() const;
  // The title written above the plot.
  QString Title() const { return title_; }
  // The axes' titles, with their units.
  void SetAxisTitles(const QString& x, const QString& y);
  // A line under the title (the moment a distribution is taken at); empty hides it.
  void SetSubtitle(const QString& text);
  QString Subtitle() const;
  // The names the legend gives the series and the band.
  void SetLegendNames(const QString& series, const QString& band);
  bool ShowsLegend() const;

 private:
  void FitAxes(const ChartSeries& series, const ChartSeries::Points& points);
  // Sets the axes to the last shown points and, while it shows, the band.
  void ApplyAxes();
  void CreateBand();
  void UpdateNote();
  void UpdateLegend();

  QCustomPlot* plot_;
  QString title_;
  Kind kind_;
  Counts counts_;
  // The spans of the shown points, and of the band's values.
  std::optional<AxisSpan> keys_;
  std::optional<AxisSpan> values_;
  std::optional<AxisSpan> bandValues_;
  QCPGraph* bandLow_ = nullptr;
  QCPGraph* bandHigh_ = nullptr;
  // The band's series as last shown, with their versions.
  const ChartSeries* bandLowSeries_ = nullptr;
  const ChartSeries* bandHighSeries_ = nullptr;
  std::uint64_t bandLowVersion_ = 0;
  std::uint64_t bandHighVersion_ = 0;
  QCPGraph* graph_ = nullptr;
  QCPBars* bars_ = nullptr;
  QCPItemText* note_ = nullptr;
  QCPTextElement* subtitle_ = nullptr;
  QString seriesName_;
  QString bandName_;
  // What was shown last: which series, at which of its versions.
  const ChartSeries* shownSeries_ = nullptr;
  std::uint64_t shownVersion_ = 0;
};

}  // namespace teravo
