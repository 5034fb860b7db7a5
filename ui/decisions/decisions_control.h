#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include "decisions/questions.h"
#include "model/teravo.h"
#include "ui/common/background_run.h"
#include "ui/common/message_sink.h"
#include "ui/decisions/decisions_window.h"

class QAction;
class QMainWindow;
class QMdiArea;

namespace teravo {

// "Когда цель будет достигнута?…": opens the window of the analyst's questions and answers
// them from the accepted parameters on a worker thread, with the progress and a stop button
// in the status line. While it runs the given commands are disabled and Esc stops it: the
// answers then cover the plays played before the stop.
class DecisionsControl : public QObject {
  Q_OBJECT
 public:
  DecisionsControl(QMainWindow& window, QMdiArea& area, MessageSink& messages, TTeravo& model,
                   QList<QAction*> commands);

  // The menu's action; it opens the window, or brings it to the front.
  QAction& OpenAction() const { return *open_; }
  void Open();
  // Answers `question` in the open window; false when nothing started.
  bool Start(const Question& question);
  bool Running() const { return run_.Running(); }
  void Stop() { run_.Stop(); }

  TDecisionsWindow* Window() const { return window_; }
  ProgressLine& Progress() const { return run_.Progress(); }

 signals:
  // The run ended, was stopped or dropped; its answers (if any) are shown.
  void RunEnded();

 private:
  struct Ran {
    std::optional<Answers> answers;
    std::string error;
  };
  // The set the answers come from: the accepted one, or the dialog's defaults.
  TParameters AnsweredSet() const;
  bool Accepted() const { return !(model_.Parameters() == TParameters{}); }

  QMainWindow& main_;
  QMdiArea& area_;
  MessageSink& messages_;
  TTeravo& model_;
  QAction* open_;
  QPointer<TDecisionsWindow> window_;
  Question pending_;
  // Last, so that its worker is joined before the members it reads are gone.
  BackgroundRun run_;
};

}  // namespace teravo
