#pragma once

#include <functional>
#include <memory>

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_driver.h"
#include "play/play_host.h"
#include "play/series.h"
#include "ui/common/background_run.h"

class QAction;
class QMainWindow;
class QMdiArea;

namespace teravo {

class ProgressLine;
class QtPlayHost;
class StagedHost;
struct SeriesLeft;

// How the main window's plays run. A series plays on worker threads while the window thread
// stays free, its progress and a stop button in the status line; its windows then open a
// slice per turn of the event loop. A single play stays in the window thread for its live
// charts, and its repaints let the window thread look at its events, so that Esc is heard;
// any other input waits until the play ends. While either runs, the given commands are
// disabled and Esc stops it.
class PlayControl : public QObject {
  Q_OBJECT
 public:
  using Report = std::function<void(const CommandOutcome&)>;
  using PlayCommand = std::function<CommandOutcome(const PlayOptions&)>;

  // The series' windows open into `area`.
  PlayControl(QMainWindow& window, QMdiArea& area, QtPlayHost& host, QList<QAction*> commands);
  // A running series is stopped and its worker waited for; what it played is dropped.
  ~PlayControl() override;

  // One more command to disable while something plays (one that would change the model).
  void AddCommand(QAction* command) { run_.AddCommand(command); }

  // F4: the check and the seeds are taken here, in the window thread. The plays run on a
  // worker, which also forms the averages and distributions of those finished in order once
  // the series ends or is stopped; their windows then open here. `report` gets the outcome:
  // at once when refused, else when the windows are open.
  void StartSeries(TTeravo& model, const PlayContext& context, Report report);
  // F3 (and any play in the window thread): runs `play` with a stop token of this control's.
  // While something else plays, both are refused with kPlaysBusy.
  CommandOutcome RunPlay(const PlayCommand& play);

  bool Running() const { return run_.Running(); }
  // Esc and the stop button: a series keeps its plays finished in order, a play what it showed.
  void Stop() { run_.Stop(); }

  ProgressLine& Progress() const { return run_.Progress(); }
  QAction& StopAction() const { return run_.StopAction(); }

 signals:
  // A play or series ended, was stopped or abandoned, and the commands are enabled again.
  void RunEnded();

 private:
  // The series is in: its windows open a slice per turn of the event loop.
  void OpenSeriesWindows(TTeravo& model, SeriesLeft&& left);
  void OpenInTurns();
  // On the end of every run: a series dropped on the way (the main window closing) reports
  // nothing, and its windows still to open stay closed.
  void DropSeries();

  QMdiArea& area_;
  QtPlayHost& host_;
  Report report_;
  std::unique_ptr<StagedHost> opening_;
  CommandOutcome openingOutcome_;
  // A timer rather than a queued call, so that other timers and input get their turn
  // between two slices.
  QTimer nextSlice_;
  QElapsedTimer sincePainted_;
  // Last, so that a running series is dropped before the members above are gone.
  BackgroundRun run_;
};

}  // namespace teravo
