#pragma once

#include <functional>
#include <memory>

#include <QMainWindow>

#include "model/teravo.h"
#include "play/play_host.h"
#include "ui/common/message_sink.h"

class QAction;
class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace teravo {

class CalibrationControl;
class DataFileActions;
class PlayControl;
class ParameterFileActions;
class QtPlayHost;
class SweepControl;
class TfmSettings;
class TfrmAbout;
class WindowCommands;

// The frame of the program: the model, the three commands, the child windows of the plays
// and the status line. It computes nothing itself; each command hands the model on.
class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  // Messages go to `messages`; the default shows real message boxes.
  explicit TMainForm(std::unique_ptr<MessageSink> messages = nullptr, QWidget* parent = nullptr);
  ~TMainForm() override;

  // How a modal window is shown (exec() unless replaced, e.g. by a test that must not block).
  using ModalRunner = std::function<void(QDialog&)>;
  void SetModalRunner(ModalRunner runner) { runModal_ = std::move(runner); }

  TTeravo& Model() { return *model_; }
  TfmSettings& Settings() const { return *fmSettings_; }
  TfrmAbout& About() const { return *frmAbout_; }
  QMdiArea& MdiArea() const { return *mdiArea_; }
  QtPlayHost& Host() const { return *host_; }
  ParameterFileActions& ParameterFiles() const { return *parameterFiles_; }
  DataFileActions& DataFiles() const { return *dataFiles_; }
  CalibrationControl& Calibrations() const { return *calibrations_; }
  WindowCommands& ResultWindowCommands() const { return *windowCommands_; }
  PlayControl& Plays() const { return *plays_; }
  SweepControl& Sweeps() const { return *sweeps_; }

  void aSettingsExecute();
  void aPlayIterationExecute();
  void aPlayPlayExecute();
  // "Исследование параметра…": a series at each value of one edit, see SweepControl.
  void aSweepExecute();
  void FileExit();
  void WindowTile();
  void WindowCascade();
  void WindowArrange();
  // "Закрыть все окна": every child window goes, the distributions too, which their own close
  // box only minimises.
  void WindowCloseAll();
  void HelpAbout();
  // "Руководство" (F1): the user's guide.
  void HelpGuide();
  // Brings a child window to the front, restored if it was minimised.
  void RaiseWindow(QMdiSubWindow* window);

  // "Параметры не приняты" at the right of the status line, shown from a refused acceptance
  // until one passes.
  QLabel& NotAcceptedNote() const { return *notAccepted_; }

  QMenu& WindowMenu() const { return *windowMenu_; }
  // The window menu's commands followed by the list of open windows, rebuilt each time the
  // menu opens.
  void UpdateWindowMenu();

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  // The program's caption after the name of the parameter file open, marked while the
  // dialog's texts are not those accepted.
  void UpdateTitle();
  // Sizes and centres a modal window over this one, then shows it.
  void RunModal(QDialog& dialog);
  // The keyboard goes back to this window when a modal one has closed, so F3 and F4 work
  // without a click.
  void TakeFocusBack();
  // What a play takes from the settings dialog and the user's locale.
  PlayContext Context() const;
  // A run that may take more than an hour starts only when the user agrees.
  bool AgreedToLongRun(std::int32_t plays);
  // F3 and F4 run through this; see PlayControl.
  void CreatePlayControl();
  template <class Command>
  void Run(Command&& command);

  std::unique_ptr<MessageSink> messages_;
  std::unique_ptr<TTeravo> model_;
  QMdiArea* mdiArea_;
  std::unique_ptr<QtPlayHost> host_;
  // After the model and the host, so that a running series is stopped before they go.
  std::unique_ptr<PlayControl> plays_;
  TfmSettings* fmSettings_ = nullptr;
  TfrmAbout* frmAbout_ = nullptr;
  ParameterFileActions* parameterFiles_ = nullptr;
  DataFileActions* dataFiles_ = nullptr;
  CalibrationControl* calibrations_ = nullptr;
  WindowCommands* windowCommands_ = nullptr;
  SweepControl* sweeps_ = nullptr;
  ModalRunner runModal_;

  QAction* aSettings_ = nullptr;
  QAction* aPlayIteration_ = nullptr;
  QAction* aPlayPlay_ = nullptr;
  QAction* aSweep_ = nullptr;
  QAction* aFileExit_ = nullptr;
  QAction* aWindowTile_ = nullptr;
  QAction* aWindowCascade_ = nullptr;
  QAction* aWindowArrange_ = nullptr;
  QAction* aWindowCloseAll_ = nullptr;
  QAction* aHelpAbout_ = nullptr;
  QAction* aHelpGuide_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  QLabel* notAccepted_ = nullptr;
};

}  // namespace teravo
