#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QList>
#include <QObject>
#include <QPointer>

#include "model/teravo.h"
#include "play/sweep.h"
#include "ui/common/background_run.h"
#include "ui/common/message_sink.h"
#include "ui/sweep/sweep_dialog.h"
#include "ui/sweep/sweep_window.h"

class QAction;
class QMainWindow;
class QMdiArea;

namespace teravo {

class ProgressLine;

// "Исследование параметра": asks what to sweep, plans the values from the accepted parameters,
// plays the points on a worker thread (every core) with the progress and a stop button in the
// status line, and opens the result as a child window. While it runs, the given commands are
// disabled and Esc stops it; the points finished by then are kept. Closing the main window
// drops it.
class SweepControl : public QObject {
  Q_OBJECT
 public:
  // Shows the dialog; true when the user chose to start (exec() unless replaced).
  using Asker = std::function<bool(SweepDialog&)>;

  // A running sweep is stopped with the control and its worker waited for; what it played is
  // dropped.
  SweepControl(QMainWindow& window, QMdiArea& area, MessageSink& messages,
               QList<QAction*> commands);

  // The menu command.
  void Execute(TTeravo& model, char separator);
  // Starts a sweep of the model's accepted parameters; refused values are reported with their
  // field's message and skipped; a sweep that may take more than an hour asks first. False
  // when nothing started. `threads` 0 takes every core.
  bool Start(TTeravo& model, const SweepRequest& request, char separator, int threads = 0);
  bool Running() const { return run_.Running(); }
  // Esc and the stop button.
  void Stop() { run_.Stop(); }

  void SetAsker(Asker asker) { ask_ = std::move(asker); }
  ProgressLine& Progress() const { return run_.Progress(); }
  QAction& StopAction() const { return run_.StopAction(); }
  // The window of the last sweep that opened one (null once it is closed).
  TSweepResults* LastWindow() const { return last_; }

 signals:
  // The sweep ended, was stopped or dropped, and the commands are back; its window (if any)
  // opens right after.
  void RunEnded();

 private:
  struct Started {
    SweepRequest request;
    std::vector<std::string> values;
    std::uint32_t seed = 0;
    char separator = ',';
    std::string parameters;  // the accepted parameters as a play window describes them
  };
  void ShowProgress(int playsDone, int point);
  void Finish(SweepRun&& ran);

  QMainWindow& window_;
  QMdiArea& area_;
  MessageSink& messages_;
  Asker ask_;
  QPointer<TSweepResults> last_;
  Started started_;
  int pointsToRun_ = 0;
  std::vector<int> playsBefore_;       // by plan position: the plays of the points before it
  std::vector<int> ordinal_;           // by plan position: the how-manyeth point that runs
  std::vector<std::int32_t> clients_;  // by plan position: the clients it plays with
  // Last, so that its worker is joined before the members it reads are gone.
  BackgroundRun run_;
};

}  // namespace teravo
