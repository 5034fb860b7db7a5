// Wall time and peak memory of the desktop program's commands, offscreen: F3 and F4 with
// the settings dialog's defaults, and F4 with 200 and 1000 plays. The headless series (the
// same plays into plain records) is the yardstick for what the windows add. F4 plays on
// worker threads: a 10 ms timer in the window thread measures how long that thread was ever
// kept from its events meanwhile.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMdiArea>
#include <QTimer>

#include "params/settings_form.h"
#include "play/commands.h"
#include "ui/plays/play_control.h"
#include "ui/settings/settings_dialog.h"
#include "ui/shell/main_form.h"

namespace {

using teravo::DistributionsRecord;
using teravo::PlayRecord;

class CountingSink : public teravo::MessageSink {
 public:
  void Info(QWidget*, const QString& text) override { Report(text); }
  void Error(QWidget*, const QString& text) override { Report(text); }

 private:
  static void Report(const QString& text) {
    std::printf("  message: %s\n", text.toStdString().c_str());
  }
};

// Keeps every record and draws nothing: the play drivers' own cost.
class HeadlessHost : public teravo::PlayHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override {
    plays_.push_back(std::move(record));
  }
  void ShowPlayWindow(PlayRecord&, teravo::WindowState) override {}
  void Repaint(PlayRecord&) override {}
  void ClosePlayWindow(PlayRecord&) override {}
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override {
    distributions_.push_back(std::move(record));
  }
  void Repaint(DistributionsRecord&) override {}

 private:
  std::vector<std::shared_ptr<PlayRecord>> plays_;
  std::vector<std::shared_ptr<DistributionsRecord>> distributions_;
};

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

template <class Command>
double Seconds(Command&& command) {
  const auto start = std::chrono::steady_clock::now();
  command();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Print(const char* what, double seconds) {
  std::printf("%-34s %8.3f s   peak RSS %7.1f MB\n", what, seconds, PeakMegabytes());
  std::fflush(stdout);
}

void Accept(teravo::TMainForm& form, const std::string& plays) {
  form.Settings().SetText(teravo::edit::K, plays);
  form.Settings().InitParametersAction()->trigger();
}

struct SeriesRun {
  double seconds = 0;
  double longestGapMs = 0;  // between ticks of a 10 ms timer in the window thread
};

// F4 returns at once; the series has ended when its windows are open.
SeriesRun RunSeries(teravo::TMainForm& form) {
  SeriesRun run;
  QEventLoop loop;
  QObject::connect(&form.Plays(), &teravo::PlayControl::RunEnded, &loop, &QEventLoop::quit);
  QElapsedTimer sinceTick;
  QTimer ticker;
  ticker.setTimerType(Qt::PreciseTimer);
  ticker.setInterval(10);
  QObject::connect(&ticker, &QTimer::timeout, [&] {
    run.longestGapMs = std::max(run.longestGapMs, sinceTick.nsecsElapsed() / 1e6);
    sinceTick.start();
  });
  ticker.start();
  sinceTick.start();
  run.seconds = Seconds([&] {
    form.aPlayPlayExecute();
    if (form.Plays().Running()) loop.exec();
  });
  run.longestGapMs = std::max(run.longestGapMs, sinceTick.nsecsElapsed() / 1e6);
  return run;
}

void CloseAllWindows(teravo::TMainForm& form) {
  form.MdiArea().closeAllSubWindows();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  teravo::TMainForm form(std::make_unique<CountingSink>());
  form.resize(1400, 900);
  form.show();
  QApplication::processEvents();
  Accept(form, "10");

  // The same accepted parameters in a model of its own.
  teravo::TTeravo headless;
  headless.Parameters() = form.Model().Parameters();
  headless.FShowProgress = true;
  double headlessSeries = 0;
  {
    HeadlessHost host;
    headlessSeries = Seconds([&] { teravo::CheckedSeries(headless, host, {"10", ','}); });
  }
  Print("headless series (FK=10)", headlessSeries);

  const double play = Seconds([&] { form.aPlayIterationExecute(); });
  Print("F3, defaults", play);
  QApplication::processEvents();

  const double series = RunSeries(form).seconds;
  Print("F4, defaults (FK=10)", series);
  QApplication::processEvents();

  Accept(form, "200");
  const double bigSeries = RunSeries(form).seconds;
  QApplication::processEvents();
  Print("F4, FK=200", bigSeries);

  const double seriesGoal = 1.5 * headlessSeries + 0.3;
  std::printf("goals: F3 < 1.0 s: %s; F4 < %.3f s: %s; FK=200 peak < 1024 MB: %s\n",
              play < 1.0 ? "met" : "MISSED", seriesGoal, series < seriesGoal ? "met" : "MISSED",
              PeakMegabytes() < 1024 ? "met" : "MISSED");

  // The windows of the runs above go first, as a user would close them.
  CloseAllWindows(form);
  Accept(form, "1000");
  const SeriesRun thousand = RunSeries(form);
  Print("F4, FK=1000", thousand.seconds);
  std::printf("F4, FK=1000: longest window-thread gap %.1f ms\n", thousand.longestGapMs);
  std::printf("goals: FK=1000 peak < 1024 MB: %s; longest gap < 100 ms: %s\n",
              PeakMegabytes() < 1024 ? "met" : "MISSED",
              thousand.longestGapMs < 100 ? "met" : "MISSED");
  return 0;
}
