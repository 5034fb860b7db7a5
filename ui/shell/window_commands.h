#pragma once

#include <functional>

#include <QObject>

#include "model/teravo.h"
#include "play/command_outcome.h"
#include "play/play_driver.h"
#include "play/play_host.h"
#include "ui/common/export_dialog.h"
#include "ui/common/message_sink.h"

class QAction;
class QMainWindow;
class QMdiArea;
class QMdiSubWindow;

namespace teravo {

// What the result windows' own menus ask of the main window, which alone has the model, the
// host and the messages: saving a window as a file and replaying a play. The main window keeps
// one among its children; a window finds it through its top-level window. Also the File menu's
// "Сохранить как…" for the active window.
class WindowCommands : public QObject {
  Q_OBJECT
 public:
  using ContextSource = std::function<PlayContext()>;
  // Shows the export dialog; true when the user chose to save (exec() unless replaced).
  using ExportAsker = std::function<bool(ExportDialog&)>;
  // Runs a play the way F3 runs (its commands disabled meanwhile, Esc stopping it); a plain
  // call with no stop unless set.
  using PlayCommand = std::function<CommandOutcome(const PlayOptions&)>;
  using PlayRunner = std::function<CommandOutcome(const PlayCommand&)>;

  WindowCommands(TTeravo& model, PlayHost& host, MessageSink& messages, ContextSource context,
                 QMainWindow& frame, QMdiArea& area);

  // The commands of the main window `widget` is in; null outside one.
  static WindowCommands* Of(const QWidget& widget);

  // Asks how to save a play, averages or distributions window and saves it.
  void SaveAs(QMdiSubWindow& window);
  // The same for a window outside the frame's area (the spread table), with what it offers.
  void SaveAs(QWidget& owner, const std::function<ExportSource()>& source);
  // Plays `record`'s play again into a new window, reported as F3 reports.
  void Replay(const PlayRecord& record);

  // "Сохранить как…" of the File menu: the active window, disabled while there is none.
  QAction* SaveAsAction() const { return aSaveAs_; }
  void UpdateSaveAsAction();
  void SetExportAsker(ExportAsker asker) { ask_ = std::move(asker); }
  void SetPlayRunner(PlayRunner runner) { runPlay_ = std::move(runner); }

 private:
  TTeravo& model_;
  PlayHost& host_;
  MessageSink& messages_;
  ContextSource context_;
  QMainWindow& frame_;
  QMdiArea& area_;
  ExportAsker ask_;
  PlayRunner runPlay_;
  QAction* aSaveAs_ = nullptr;
};

// What a results window can be saved as; a window of another kind, or a closed one, gives a
// source without content (`whole` null).
ExportSource ExportSourceOf(QMdiSubWindow& window);

}  // namespace teravo
