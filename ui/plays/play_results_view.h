#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include <QString>
#include <QWidget>

#include "results/play_record.h"
#include "ui/common/chart_view.h"

class QBoxLayout;
class QLayout;
class QLineEdit;
class QScrollArea;
class QTextEdit;

namespace teravo {

class FigureEdit;

// The fields in the order the window shows them, and each one's caption as a row of a table
// would need it (its group and unit included).
std::span<const Field> FieldsInWindowOrder();
QString FieldTitle(Field field);
std::span<const Chart> ChartsInWindowOrder();

// The content of a play results window: the description strip, the thirteen value fields
// and the five charts, laid out in the groups and order of the original window. The charts
// take whatever room the window gives beyond the fields; below its minimum the window scrolls.
class PlayResultsView : public QWidget {
  Q_OBJECT
 public:
  explicit PlayResultsView(QWidget* parent = nullptr);

  // Takes over what the record holds now; charts whose series did not change are left alone.
  void Show(const PlayRecord& record);
  // Whether the mean curves of an averages window show their 5–95 % band (with the next Show).
  void SetBandsVisible(bool visible) { bandsVisible_ = visible; }

  QLineEdit* FieldEdit(Field field) const;
  const ChartView& ChartOf(Chart chart) const { return *charts_[static_cast<int>(chart)]; }
  QTextEdit* BeginSettings() const { return meBeginSettings_; }
  QScrollArea* FiguresPane() const { return figuresPane_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QBoxLayout* CreateFields();
  QWidget* CreateChart(Chart chart);
  int LineSpacing() const;
  // The description strip's height for text this tall, with its frame and margins.
  int StripHeight(int textHeight) const;
  // Makes the strip as tall as its wrapped lines, up to a few more than it shows at first.
  void FitStrip();
  // Puts the figures' column beside the groups when the pane is wide enough for both, and
  // below them when it is not, so the pane never needs a sideways scroll.
  void ArrangeFigures();

  QTextEdit* meBeginSettings_ = nullptr;
  QScrollArea* figuresPane_ = nullptr;
  QBoxLayout* groupsColumn_ = nullptr;
  QLayout* figuresColumn_ = nullptr;
  QBoxLayout* figuresRow_ = nullptr;
  std::array<FigureEdit*, kFieldCount> fields_{};
  // The fields' own hints; an averages window adds the spread to them.
  std::array<QString, kFieldCount> hints_{};
  bool bandsVisible_ = false;
  std::array<std::unique_ptr<ChartView>, kChartCount> charts_;
  std::size_t shownLines_ = 0;
};

}  // namespace teravo
