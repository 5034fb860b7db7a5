// The desktop program walking through itself, for the screenshot script: the settings
// dialog, its defaults accepted, one play, a series, the series tiled, the window menu with
// its list of windows, a child window's own menu, the distributions window, and the same
// window once its plays are deleted. Before each pause it prints the name of what is on
// screen, so the script knows when to take its picture. Not installed; the program itself
// has no such mode.
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "ui/application_setup.h"
#include "ui/distributions_window.h"
#include "ui/main_form.h"
#include "ui/settings_dialog.h"

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

// Each step does something, then its stage is announced and held for a pause.
struct Step {
  const char* stage;
  std::function<void()> act;
};

void RunSteps(teravo::TMainForm& form, std::vector<Step> steps, std::size_t next = 0) {
  if (next == steps.size()) {
    Announce("done");
    QApplication::quit();
    return;
  }
  steps[next].act();
  Announce(steps[next].stage);
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
