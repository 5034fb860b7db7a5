// The desktop program walking through itself, for the screenshot script: the settings
// dialog, its defaults accepted, one play, a series, the series tiled, the window menu with
// its list of windows, a child window's own menu, the distributions window, and the same
// window once its plays are deleted, the averages window with its bands, its own menu, its
// spread table and its export dialog, the File menu, and a parameter sweep: its dialog and its
// result window, and a file of failure data (SYS1, in seconds): its import dialog and its
// window's trend, models and forecast tabs, and the simulation fitted to it, and the window of
// the analyst's questions (when a target is reached, the programmers, the release's cost).
// Before each pause it prints the name of what is on screen, so the script knows when to take
// its picture. Not installed; the program itself has no such mode.
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "calibration/fit_space.h"
#include "params/acceptance.h"
#include "ui/common/locale_text.h"
#include "ui/data/calibration_control.h"
#include "ui/data/calibration_window.h"
#include "ui/data/data_file_actions.h"
#include "ui/data/data_import_dialog.h"
#include "ui/data/data_window.h"
#include "ui/decisions/decisions_control.h"
#include "ui/decisions/decisions_window.h"
#include "ui/decisions/question_form.h"
#include "ui/plays/distributions_window.h"
#include "ui/plays/play_results_window.h"
#include "ui/plays/spread_table.h"
#include "ui/settings/settings_dialog.h"
#include "ui/shell/application_setup.h"
#include "ui/shell/help_window.h"
#include "ui/shell/main_form.h"
#include "ui/shell/window_commands.h"
#include "ui/sweep/sweep_control.h"

namespace {

constexpr int kPauseMs = 2500;

void Announce(const char* stage) {
  std::printf("stage %s\n", stage);
  std::fflush(stdout);
}

teravo::TAllPlayResults* Distributions(teravo::TMainForm& form) {
  for (QMdiSubWindow* window : form.MdiArea().subWindowList())
    if (auto* found = qobject_cast<teravo::TAllPlayResults*>(window)) return found;
  return nullptr;
}

teravo::TfmPlayResults* Averages(teravo::TMainForm& form) {
  for (QMdiSubWindow* window : form.MdiArea().subWindowList()) {
    auto* found = qobject_cast<teravo::TfmPlayResults*>(window);
    if (found && found->Record() && found->Record()->Kind == teravo::RecordKind::Averages)
      return found;
  }
  return nullptr;
}

// SYS1 from the sources' test data: TERAVO_DEMO_DATA names another file.
QString FailureDataFile() {
  const QByteArray given = qgetenv("TERAVO_DEMO_DATA");
  if (!given.isEmpty()) return QString::fromLocal8Bit(given);
  return QDir(QCoreApplication::applicationDirPath())
      .absoluteFilePath(QStringLiteral("../../tests/data/SYS1.csv"));
}

teravo::DecisionsControl* Decisions(teravo::TMainForm& form) {
  return form.findChild<teravo::DecisionsControl*>(QStringLiteral("DecisionsControl"));
}

void ShowDecisionsTab(teravo::TMainForm& form, int tab) {
  teravo::DecisionsControl* control = Decisions(form);
  if (teravo::TDecisionsWindow* window = control ? control->Window() : nullptr)
    window->Tabs()->setCurrentIndex(tab);
}

void ShowDataTab(teravo::TMainForm& form, int tab) {
  if (teravo::TDataAnalysisWindow* window = form.DataFiles().LastWindow()) {
    form.RaiseWindow(window);
    window->showMaximized();
    window->Tabs()->setCurrentIndex(tab);
  }
}

// Each step does something, then its stage is announced and held for a pause. A step that
// opens a modal window announces its stage itself, from inside that window.
struct Step {
  const char* stage;
  std::function<void()> act;
  bool announcesItself = false;
};

void RunSteps(teravo::TMainForm& form, std::vector<Step> steps, std::size_t next = 0) {
  if (next == steps.size()) {
    Announce("done");
    QApplication::quit();
    return;
  }
  steps[next].act();
  if (!steps[next].announcesItself) Announce(steps[next].stage);
  QTimer::singleShot(kPauseMs, &form,
                     [&form, steps = std::move(steps), next] { RunSteps(form, steps, next + 1); });
}

void RunDemo(teravo::TMainForm& form) {
  std::vector<Step> steps = {
      {"play", [&form] { form.aPlayIterationExecute(); }},
      {"series", [&form] { form.aPlayPlayExecute(); }},
      {"tiled", [&form] { form.WindowTile(); }},
      {"window-menu", [&form] { form.menuBar()->setActiveAction(form.WindowMenu().menuAction()); }},
      {"child-menu",
       [&form] {
         form.menuBar()->setActiveAction(nullptr);
         form.WindowMenu().hide();
         if (QMdiSubWindow* active = form.MdiArea().activeSubWindow()) active->showSystemMenu();
       }},
      {"distributions",
       [&form] {
         if (QMdiSubWindow* active = form.MdiArea().activeSubWindow())
           if (active->systemMenu()) active->systemMenu()->hide();
         form.WindowCascade();
         if (auto* window = Distributions(form)) form.RaiseWindow(window);
       }},
      {"emptied",
       [&form] {
         if (auto* window = Distributions(form)) {
           window->DeleteButton()->click();
           window->RecallButton()->click();
         }
       }},
      {"bands",
       [&form] {
         if (auto* window = Averages(form)) {
           form.RaiseWindow(window);
           window->showMaximized();
         }
       }},
      {"context-menu",
       [&form] {
         auto* window = Averages(form);
         if (!window || !window->widget()) return Announce("context-menu");
         // The menu runs its own loop: its picture is announced and it is closed from inside.
         QTimer::singleShot(500, &form, [] { Announce("context-menu"); });
         QTimer::singleShot(500 + kPauseMs, &form, [] {
           if (QWidget* menu = QApplication::activePopupWidget()) menu->close();
         });
         const QPoint at = window->widget()->geometry().center();
         QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
         QApplication::sendEvent(window, &event);
       },
       true},
      {"spread",
       [&form] {
         if (auto* window = Averages(form)) window->SpreadAction()->trigger();
       }},
      {"export",
       [&form] {
         auto* window = Averages(form);
         if (!window) return Announce("export");
         for (auto* table : window->findChildren<teravo::SpreadTable*>()) table->close();
         QTimer::singleShot(500, &form, [] { Announce("export"); });
         QTimer::singleShot(500 + kPauseMs, &form, [] {
           if (QWidget* dialog = QApplication::activeModalWidget()) dialog->close();
         });
         form.ResultWindowCommands().SaveAs(*window);
       },
       true},
      {"file-menu",
       [&form] {
         if (auto* file = form.menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu")))
           form.menuBar()->setActiveAction(file->menuAction());
       }},
      {"sweep-dialog",
       [&form] {
         form.menuBar()->setActiveAction(nullptr);
         if (auto* file = form.menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu")))
           file->hide();
         form.Sweeps().SetAsker([&form](teravo::SweepDialog& dialog) {
           dialog.ListEdit()->setText(QStringLiteral("1; 2; 3; 4; 6; 8"));
           const QPointer<teravo::SweepDialog> shown(&dialog);
           QTimer::singleShot(500, &form, [] { Announce("sweep-dialog"); });
           QTimer::singleShot(500 + kPauseMs, &form, [shown] {
             if (shown) shown->accept();
           });
           return dialog.exec() == QDialog::Accepted;
         });
         form.aSweepExecute();
       },
       true},
      {"sweep",
       [&form] {
         // The points play on workers; the picture waits for their window.
         while (form.Sweeps().Running()) QApplication::processEvents(QEventLoop::AllEvents, 50);
         if (QMdiSubWindow* window = form.Sweeps().LastWindow()) {
           form.RaiseWindow(window);
           window->showMaximized();
         }
       }},
      {"data-import",
       [&form] {
         teravo::DataFileActions& files = form.DataFiles();
         files.SetModalRunner([&form](QDialog& dialog) {
           auto* import = qobject_cast<teravo::DataImportDialog*>(&dialog);
           if (import)
             import->UnitBox()->setCurrentIndex(
                 import->UnitBox()->findData(static_cast<int>(teravo::TimeUnit::Seconds)));
           const QPointer<QDialog> shown(&dialog);
           QTimer::singleShot(500, &form, [] { Announce("data-import"); });
           QTimer::singleShot(500 + kPauseMs, &form, [shown] {
             if (shown) shown->accept();
           });
           dialog.exec();
         });
         if (!files.Open(FailureDataFile())) Announce("data-import");
       },
       true},
      {"data-trend",
       [&form] {
         // The fits run on a worker; the picture waits for their window.
         while (form.DataFiles().Running()) QApplication::processEvents(QEventLoop::AllEvents, 50);
         ShowDataTab(form, 1);
       }},
      {"data-models", [&form] { ShowDataTab(form, 2); }},
      {"data-forecast", [&form] { ShowDataTab(form, 3); }},
      {"calibration",
       [&form] {
         teravo::TDataAnalysisWindow* data = form.DataFiles().LastWindow();
         if (!data) return;
         // A small fit: a few plays and evaluations keep the stage short.
         const std::string names[] = {"edErrorsNum0", "edMu"};
         teravo::CalibrationSettings settings;
         settings.edits =
             std::get<std::vector<teravo::FittedEdit>>(teravo::FittedEditsOf(names, {}, '.'));
         settings.plays = 5;
         settings.limits.maxEvaluations = 30;
         settings.forecastPlays = 20;
         teravo::CalibrationControl& control = form.Calibrations();
         if (!control.Start(data->Result(), std::move(settings))) return;
         while (control.Running()) QApplication::processEvents(QEventLoop::AllEvents, 50);
         if (QMdiSubWindow* window = control.LastWindow()) {
           form.RaiseWindow(window);
           window->showMaximized();
         }
       }},
      {"calibration-forecast",
       [&form] {
         if (teravo::TCalibrationWindow* window = form.Calibrations().LastWindow())
           window->Tabs()->setCurrentIndex(1);
       }},
      {"decisions-menu",
       [&form] {
         if (auto* menu = form.menuBar()->findChild<QMenu*>(QStringLiteral("SettingsMenu")))
           form.menuBar()->setActiveAction(menu->menuAction());
       }},
      {"decisions",
       [&form] {
         form.menuBar()->setActiveAction(nullptr);
         if (auto* menu = form.menuBar()->findChild<QMenu*>(QStringLiteral("SettingsMenu")))
           menu->hide();
         // A play of 200 days with a step of 0,01: long enough for the questions.
         teravo::TfmSettings& settings = form.Settings();
         const char separator = settings.DecimalSeparator();
         settings.SetText("edDT", std::string("0") + separator + "01");
         settings.SetText("edM", "20000");
         teravo::AcceptParameters(form.Model(), settings);
         teravo::DecisionsControl* control = Decisions(form);
         if (!control) return;
         control->OpenAction().trigger();
         teravo::TDecisionsWindow* window = control->Window();
         if (!window) return;
         window->showMaximized();
         window->Form()->PlaysEdit()->setText(QStringLiteral("40"));
         window->AskButton()->click();
         // The answers play on workers; the picture waits for them.
         while (control->Running()) QApplication::processEvents(QEventLoop::AllEvents, 50);
       }},
      {"decisions-staffing", [&form] { ShowDecisionsTab(form, 1); }},
      {"decisions-cost", [&form] { ShowDecisionsTab(form, 2); }},
      {"guide",
       [&form] { teravo::ShowGuide(form, teravo::ToQString(teravo::kParametersSection)); }},
  };
  QTimer::singleShot(500, &form, [&form, steps = std::move(steps)] {
    // The dialog is modal: what follows is queued before it opens and runs inside it.
    QTimer::singleShot(500, &form, [] { Announce("settings"); });
    QTimer::singleShot(kPauseMs, &form, [&form, steps] {
      form.Settings().InitParametersAction()->trigger();
      QTimer::singleShot(100, &form, [&form, steps] { RunSteps(form, steps); });
    });
    form.aSettingsExecute();
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  teravo::SetUpApplication(app);
  teravo::TMainForm mainForm;
  mainForm.show();
  RunDemo(mainForm);
  return app.exec();
}
