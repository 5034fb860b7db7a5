#pragma once

#include <array>
#include <functional>

#include <QMdiSubWindow>
#include <QString>

#include "reliability/analysis_curves.h"
#include "reliability/failure_analysis.h"
#include "ui/common/export_dialog.h"
#include "ui/common/message_sink.h"

class QAction;
class QCustomPlot;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableWidget;

namespace teravo {

// What an analysis of failure data left, and how it was asked for.
struct DataAnalysisResult {
  QString title;  // the file's name
  FailureData data;
  FailureAnalysis analysis;
  AnalysisOptions options;
};

// The analysis of one file of failure data: its rows, the trend, the fitted models and their
// predictions, each on a tab. The predictions are asked again from the tab's inputs; every
// number comes from the reliability layer.
class TDataAnalysisWindow : public QMdiSubWindow {
  Q_OBJECT
 public:
  TDataAnalysisWindow(DataAnalysisResult result, char separator, MessageSink& messages,
                      QWidget* parent = nullptr);

  const DataAnalysisResult& Result() const { return result_; }

  QTabWidget* Tabs() const { return tabs_; }
  QTableWidget* DataTable() const { return dataTable_; }
  QLabel* TrendLine() const { return trendLine_; }
  QCustomPlot* LaplacePlot() const { return laplacePlot_; }
  QCustomPlot* MtbfPlot() const { return mtbfPlot_; }
  QTableWidget* ModelsTable() const { return modelsTable_; }
  QCustomPlot* ModelsPlot() const { return modelsPlot_; }
  QTableWidget* ForecastTable() const { return forecastTable_; }
  QCustomPlot* IntensityPlot() const { return intensityPlot_; }
  QCustomPlot* ReliabilityPlot() const { return reliabilityPlot_; }
  // The forecast's inputs: Δt, N, target intensity, mission time, target reliability.
  QLineEdit* RequestEdit(int i) const { return requestEdits_[static_cast<std::size_t>(i)]; }
  QAction* SaveAsAction() const { return aSaveAs_; }
  QAction* CalibrateAction() const { return aCalibrate_; }

  // Reads the forecast's inputs and predicts again; a text that does not parse, or a value out
  // of range, is reported and changes nothing. True when predicted.
  bool Predict();

  ExportSource Export() const;
  void SaveAs();
  void SetExportAsker(ExportAsker asker) { ask_ = std::move(asker); }
  // "Калибровка по данным…": the simulation fitted to these data (see CalibrationControl).
  void Calibrate();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  QWidget* MakeDataTab();
  QWidget* MakeTrendTab();
  QWidget* MakeModelsTab();
  QWidget* MakeForecastTab();
  void FillModelsTable();
  void FillForecast();

  DataAnalysisResult result_;
  AnalysisCurves curves_;
  char separator_;
  MessageSink& messages_;
  ExportAsker ask_;
  QWidget* content_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTableWidget* dataTable_ = nullptr;
  QLabel* trendLine_ = nullptr;
  QCustomPlot* laplacePlot_ = nullptr;
  QCustomPlot* mtbfPlot_ = nullptr;
  QTableWidget* modelsTable_ = nullptr;
  QCustomPlot* modelsPlot_ = nullptr;
  std::array<QLineEdit*, 5> requestEdits_{};
  QTableWidget* forecastTable_ = nullptr;
  QCustomPlot* intensityPlot_ = nullptr;
  QCustomPlot* reliabilityPlot_ = nullptr;
  QAction* aSaveAs_ = nullptr;
  QAction* aCalibrate_ = nullptr;
};

}  // namespace teravo
