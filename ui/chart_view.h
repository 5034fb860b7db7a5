#pragma once

#include <cstdint>
#include <optional>

#include <QColor>
#include <QString>

#include "play/chart_series.h"

class QCPBars;
class QCPGraph;
class QCustomPlot;
class QWidget;

namespace teravo {

// One chart of a results window: a QCustomPlot with a title, a white background, no legend
// and exactly one series, its axes always scaled to the data.
class ChartView {
 public:
  enum class Kind {
    Line,     // a polyline through the points (the time charts)
    Impulse,  // a vertical line from 0 to y at each x (the error histogram)
    Bars,     // touching bars standing at their x (the distributions)
  };

  // `color` is the series' colour; none leaves QCustomPlot's default.
  ChartView(QWidget* parent, const QString& name, const QString& title, Kind kind,
            std::optional<QColor> color);

  QCustomPlot* Plot() const { return plot_; }
  // Copies the series and replots when it has changed since it was last shown, so a window
  // repainted a hundred times per play copies each series only when the driver changed it.
  // The replotted chart reaches the screen with the widget's next paint. True when replotted.
  bool Show(const ChartSeries& series);
  int PointCount() const;

 private:
  QCustomPlot* plot_;
  QCPGraph* graph_ = nullptr;
  QCPBars* bars_ = nullptr;
  // What was shown last: which series, at which of its versions.
  const ChartSeries* shownSeries_ = nullptr;
  std::uint64_t shownVersion_ = 0;
};

}  // namespace teravo
