#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <stop_token>
#include <thread>
#include <vector>

#include <QList>
#include <QObject>
#include <QPointer>

#include "model/teravo.h"
#include "play/sweep.h"
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
// disabled and Esc stops it; the points finished by then are kept.
class SweepControl : public QObject {
  Q_OBJECT
 public:
  // Shows the dialog; true when the user chose to start (exec() unless replaced).
  using Asker = std::function<bool(SweepDialog&)>;

  SweepControl(QMainWindow& window, QMdiArea& area, MessageSink& messages,
               QList<QAction*> commands);
  // A running sweep is stopped and its worker waited for; what it played is dropped.
  ~SweepControl() override;

  // The menu command.
  void Execute(TTeravo& model, char separator);
  // Starts a sweep of the model's accepted parameters; refused values are reported with their
  // field's message and skipped; a sweep that may take more than an hour asks first. False
  // when nothing started. `threads` 0 takes every core.
  bool Start(TTeravo& model, const SweepRequest& request, char separator, int threads = 0);
  bool Running() const { return running_; }
  // Esc and the stop button.
  void Stop();

  void SetAsker(Asker asker) { ask_ = std::move(asker); }
  ProgressLine& Progress() const { return *progress_; }
  QAction& StopAction() const { return *stop_; }
  // The window of the last sweep that opened one (null once it is closed).
  TSweepResults* LastWindow() const { return last_; }

 signals:
  // The sweep ended or was stopped, its window (if any) is open and the commands are back.
  void RunEnded();

 private:
  struct Started {
    SweepRequest request;
    std::vector<std::string> values;
    std::uint32_t seed = 0;
    char separator = ',';
  };
  void PostProgress(std::uint64_t run);
  void Finish(std::uint64_t run, SweepRun&& ran);
  void EndRun();

  QMainWindow& window_;
  QMdiArea& area_;
  MessageSink& messages_;
  QList<QAction*> commands_;
  QList<bool> wereEnabled_;
  ProgressLine* progress_;
  QAction* stop_;
  Asker ask_;
  QPointer<TSweepResults> last_;
  bool running_ = false;
  Started started_;
  int pointsToRun_ = 0;
  std::vector<int> playsBefore_;  // by plan position: the plays of the points before it
  std::vector<int> ordinal_;      // by plan position: the how-manyeth point that runs
  std::uint64_t run_ = 0;         // a late report of an abandoned run is recognised by it
  // The worker keeps the latest count only, with at most one report waiting in the queue.
  std::atomic<int> playsDone_{0};
  std::atomic<int> pointNow_{0};
  std::atomic<bool> progressQueued_{false};
  // Last, so that it is joined before the members it uses are gone.
  std::jthread worker_;
};

}  // namespace teravo
