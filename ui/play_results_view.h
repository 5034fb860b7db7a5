#pragma once

#include <array>
#include <cstddef>
#include <memory>

#include <QWidget>

#include "play/play_record.h"
#include "ui/chart_view.h"

class QBoxLayout;
class QLineEdit;
class QTextEdit;

namespace teravo {

class FigureEdit;

// The content of a play results window: the description strip, the thirteen value fields
// and the five charts, laid out in the groups and order of the original window. The charts
// take whatever room the window gives beyond the fields; below its minimum the window scrolls.
class PlayResultsView : public QWidget {
  Q_OBJECT
 public:
  explicit PlayResultsView(QWidget* parent = nullptr);

  // Takes over what the record holds now; charts whose series did not change are left alone.
  void Show(const PlayRecord& record);

  QLineEdit* FieldEdit(Field field) const;
  const ChartView& ChartOf(Chart chart) const { return *charts_[static_cast<int>(chart)]; }
  QTextEdit* BeginSettings() const { return meBeginSettings_; }

 private:
  QBoxLayout* CreateFields();
  QWidget* CreateChart(Chart chart);

  QTextEdit* meBeginSettings_ = nullptr;
  std::array<FigureEdit*, kFieldCount> fields_{};
  std::array<std::unique_ptr<ChartView>, kChartCount> charts_;
  std::size_t shownLines_ = 0;
};

}  // namespace teravo
