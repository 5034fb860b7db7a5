#pragma once

#include <functional>

#include <QMdiSubWindow>
#include <QString>

#include "calibration/calibration.h"
#include "ui/common/export_dialog.h"
#include "ui/common/message_sink.h"

class QAction;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace teravo {

// What a calibration left, and how it was asked for.
struct CalibrationResult {
  QString title;  // the data file's name
  FailureData data;
  CalibrationSettings settings;
  Calibration calibration;
};

// One fit of the simulation to failure data: the observed curve against the fitted mean and
// its band with the forecast past the data, the forecast's other curves, the fitted edits with
// their intervals (or, where the data do not fix them, words instead of a number), the
// goodness of fit and the holdout PSSE beside the classic models'. The fitted set can be
// saved as a parameter file or accepted as the settings.
class TCalibrationWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  // What the window's buttons hand the fitted set to.
  struct Actions {
    std::function<void(const TParameters&)> saveParameters;
    std::function<void(const TParameters&)> openInSettings;
  };

  TCalibrationWindow(CalibrationResult result, char separator, MessageSink& messages,
                     Actions actions, QWidget* parent = nullptr);

  const CalibrationResult& Result() const { return result_; }
  QTabWidget* Tabs() const { return tabs_; }
  QCustomPlot* FitPlot() const { return fitPlot_; }
  QTableWidget* EstimatesTable() const { return estimatesTable_; }
  QTableWidget* PsseTable() const { return psseTable_; }
  QLabel* GoodnessLine() const { return goodness_; }
  QLabel* NotesLine() const { return notes_; }
  QPushButton* SaveParametersButton() const { return saveParameters_; }
  QPushButton* OpenInSettingsButton() const { return openInSettings_; }
  QAction* SaveAsAction() const { return aSaveAs_; }

  ExportSource Export() const;
  void SaveAs();
  void SetExportAsker(ExportAsker asker) { ask_ = std::move(asker); }

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* MakeFitTab();
  QWidget* MakeForecastTab();
  void FillEstimates();
  void FillPsse();
  QString GoodnessText() const;
  QString NotesText() const;

  CalibrationResult result_;
  char separator_;
  MessageSink& messages_;
  Actions actions_;
  ExportAsker ask_;
  QWidget* content_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QCustomPlot* fitPlot_ = nullptr;
  std::vector<std::pair<QString, QCustomPlot*>> forecastPlots_;
  QTableWidget* estimatesTable_ = nullptr;
  QTableWidget* psseTable_ = nullptr;
  QLabel* goodness_ = nullptr;
  QLabel* notes_ = nullptr;
  QPushButton* saveParameters_ = nullptr;
  QPushButton* openInSettings_ = nullptr;
  QAction* aSaveAs_ = nullptr;
};

}  // namespace teravo
