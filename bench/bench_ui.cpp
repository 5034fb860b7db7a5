// Wall time and peak memory of the desktop program's commands, offscreen: F3 and F4 with
// the settings dialog's defaults, and F4 with 200 plays. The headless series (the same
// plays into plain records) is the yardstick for what the windows add.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>

#include "params/settings_form.h"
#include "play/commands.h"
#include "ui/main_form.h"
#include "ui/settings_dialog.h"

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
    headlessSeries = Seconds([&] { teravo::aPlayPlayExecute(headless, host, {"10", ','}); });
  }
  Print("headless series (FK=10)", headlessSeries);

  const double play = Seconds([&] { form.aPlayIterationExecute(); });
  Print("F3, defaults", play);
  QApplication::processEvents();

  const double series = Seconds([&] { form.aPlayPlayExecute(); });
  Print("F4, defaults (FK=10)", series);
  QApplication::processEvents();

  Accept(form, "200");
  const double bigSeries = Seconds([&] { form.aPlayPlayExecute(); });
  QApplication::processEvents();
  Print("F4, FK=200", bigSeries);

  const double seriesGoal = 1.5 * headlessSeries + 0.3;
  std::printf("goals: F3 < 1.0 s: %s; F4 < %.3f s: %s; FK=200 peak < 1024 MB: %s\n",
              play < 1.0 ? "met" : "MISSED", seriesGoal, series < seriesGoal ? "met" : "MISSED",
              PeakMegabytes() < 1024 ? "met" : "MISSED");
  return 0;
}
