#pragma once

#include <functional>
#include <optional>
#include <string>

#include <QList>
#include <QObject>
#include <QPointer>

#include "calibration/calibration.h"
#include "model/teravo.h"
#include "ui/common/background_run.h"
#include "ui/common/message_sink.h"
#include "ui/data/calibration_window.h"

class QAction;
class QMainWindow;
class QMdiArea;

namespace teravo {

class CalibrationDialog;
class ParameterFileActions;
class TfmSettings;
struct DataAnalysisResult;

// "Калибровка по данным": asks what to fit, fits the simulation to the failure data of a data
// window on a worker thread from the accepted parameters, with the progress and a stop button
// in the status line, and opens the result as a child window. While it runs the given
// commands are disabled and Esc stops it: the best fit found by then is kept. The fitted set
// goes to a parameter file or, accepted, into the settings.
class CalibrationControl : public QObject {
  Q_OBJECT
 public:
  // Shows the dialog; true when the user chose to start (exec() unless replaced).
  using Asker = std::function<bool(CalibrationDialog&)>;

  CalibrationControl(QMainWindow& window, QMdiArea& area, MessageSink& messages, TTeravo& model,
                     TfmSettings& settings, ParameterFileActions& parameterFiles,
                     QList<QAction*> commands);

  // The control of the main window that holds `widget`, or null.
  static CalibrationControl* Of(const QWidget& widget);

  // The data window's command: the dialog, then the run.
  void Execute(const DataAnalysisResult& data);
  // Starts a calibration from the accepted parameters (the dialog's defaults when none were
  // accepted); plays that would be refused are reported. False when nothing started.
  bool Start(const DataAnalysisResult& data, CalibrationSettings settings);
  bool Running() const { return run_.Running(); }
  // Esc and the stop button.
  void Stop() { run_.Stop(); }

  // The set a fit starts from.
  TParameters StartingSet() const;
  // The window's two commands for a fitted set.
  void SaveParameters(const TParameters& fitted);
  void AcceptInSettings(const TParameters& fitted);

  void SetAsker(Asker asker) { ask_ = std::move(asker); }
  ProgressLine& Progress() const { return run_.Progress(); }
  TCalibrationWindow* LastWindow() const { return last_; }

 signals:
  // The run ended, was stopped or dropped; its window (if any) is open.
  void RunEnded();

 private:
  struct Ran {
    std::optional<Calibration> calibration;
    std::string error;
    bool stopped = false;
  };
  void ShowProgress(const FitProgress& progress);
  void Finish(Ran&& ran);

  QMainWindow& window_;
  QMdiArea& area_;
  MessageSink& messages_;
  TTeravo& model_;
  TfmSettings& settings_;
  ParameterFileActions& parameterFiles_;
  Asker ask_;
  QPointer<TCalibrationWindow> last_;
  CalibrationResult pending_;  // the run's data and settings, until its result arrives
  // Last, so that its worker is joined before the members it reads are gone.
  BackgroundRun run_;
};

}  // namespace teravo
