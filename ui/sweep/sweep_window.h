#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QMdiSubWindow>
#include <QString>

#include "params/settings_edits.h"
#include "play/sweep_values.h"
#include "results/field_range.h"
#include "results/play_record.h"
#include "ui/common/export_dialog.h"
#include "ui/common/message_sink.h"

class QAction;
class QComboBox;
class QCPErrorBars;
class QCPGraph;
class QCustomPlot;
class QLabel;
class QMouseEvent;
class QTableWidget;

namespace teravo {

// The figures a sweep can plot: the averaged fields, in the order of the play window's rows.
std::span<const Field> SweepFigures();

// The edit's label as a caption: without the mnemonic and the closing colon.
QString EditCaption(const SettingsEdit& edit);
// The unit of what the edit holds, "сутки" or "1/сутки"; empty when it counts or is a share.
QString EditUnit(const SettingsEdit& edit);

// What a sweep left: its table (points in value order, refused ones with their reason) and
// how it was asked for.
struct SweepResult {
  SweepTable table;
  const SettingsEdit* edit = nullptr;
  bool logSpaced = false;
  Field figure = Field::edKg;
  bool stopped = false;  // cancelled: only the points that finished are in the table
  // The clients each point played with, by its index - 1: the working clients' upper end.
  std::vector<std::int32_t> clients;
  // The parameters every point started from, as a play window describes them.
  std::vector<std::string> beginSettings;

  std::int32_t ClientsAt(const SweepPoint& point) const;
};

// The result of a sweep: a chart of one figure's mean against the value, with the 95 %
// interval as error bars, and a table of every figure at every point.
class TSweepResults : public QMdiSubWindow {
  Q_OBJECT
 public:
  TSweepResults(SweepResult result, MessageSink& messages, QWidget* parent = nullptr);

  const SweepResult& Result() const { return result_; }
  void ShowFigure(Field field);
  Field Figure() const { return figure_; }

  QCustomPlot* Plot() const { return plot_; }
  QCPGraph* Means() const { return means_; }
  QCPErrorBars* Intervals() const { return intervals_; }
  QTableWidget* Table() const { return table_; }
  QComboBox* FigureBox() const { return figureBox_; }
  QAction* SaveAsAction() const { return aSaveAs_; }
  // The points plotted: indices into the table's points that ran.
  const std::vector<int>& Plotted() const { return plotted_; }
  // What the tooltip says at plotted point i.
  QString PointTip(int i) const;
  // The 95 % interval drawn at plotted point i, within what the figure can be.
  MeanInterval IntervalAt(int i) const;
  // The plotted point under a position of the plot, within a few pixels; -1 if none.
  int PointAt(const QPointF& position) const;

  ExportSource Export() const;
  void SaveAs();
  void SetExportAsker(ExportAsker asker) { ask_ = std::move(asker); }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void FillTable();
  void HoverAt(QMouseEvent* event);

  SweepResult result_;
  MessageSink& messages_;
  Field figure_;
  QWidget* content_ = nullptr;
  QLabel* heading_ = nullptr;
  QComboBox* figureBox_ = nullptr;
  QCustomPlot* plot_ = nullptr;
  QCPGraph* means_ = nullptr;
  QCPErrorBars* intervals_ = nullptr;
  QTableWidget* table_ = nullptr;
  QAction* aSaveAs_ = nullptr;
  ExportAsker ask_;
  std::vector<int> plotted_;
};

}  // namespace teravo
