// The desktop program walking through itself, for the screenshot script: the settings
// dialog, its defaults accepted, one play, one series. Before each pause it prints the name
// of what is on screen, so the script knows when to take its picture. Not installed; the
// program itself has no such mode.
#include <cstdio>

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "ui/main_form.h"
#include "ui/settings_dialog.h"

namespace {

void Announce(const char* stage) {
  std::printf("stage %s\n", stage);
  std::fflush(stdout);
}

void RunDemo(teravo::TMainForm& form) {
  constexpr int kPauseMs = 2500;
  auto series = [&form] {
    form.aPlayPlayExecute();
    Announce("series");
    QTimer::singleShot(kPauseMs, &form, [] {
      Announce("done");
      QApplication::quit();
    });
  };
  auto play = [&form, series] {
    form.aPlayIterationExecute();
    Announce("play");
    QTimer::singleShot(kPauseMs, &form, series);
  };
  QTimer::singleShot(500, &form, [&form, play] {
    // The dialog is modal: what follows is queued before it opens and runs inside it.
    QTimer::singleShot(500, &form, [] { Announce("settings"); });
    QTimer::singleShot(kPauseMs, &form, [&form, play] {
      form.Settings().InitParametersAction()->trigger();
      QTimer::singleShot(100, &form, play);
    });
    form.aSettingsExecute();
  });
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  teravo::TMainForm mainForm;
  // The virtual screen has no window manager to maximise the window.
  mainForm.setGeometry(mainForm.screen()->availableGeometry());
  mainForm.show();
  RunDemo(mainForm);
  return app.exec();
}
