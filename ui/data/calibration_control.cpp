#include "ui/data/calibration_control.h"

#include <exception>
#include <utility>

#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>
#include <QStatusBar>

#include "calibration/fit_space.h"
#include "calibration/fitted_texts.h"
#include "core/number_text.h"
#include "params/parameter_file.h"
#include "play/commands.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/data/calibration_dialog.h"
#include "ui/data/data_window.h"
#include "ui/settings/parameter_file_actions.h"
#include "ui/settings/settings_dialog.h"
#include "ui/shell/window_placement.h"

namespace teravo {

namespace {

// How long the status line says that the fitted set was accepted.
constexpr int kAcceptedNoteMs = 8000;

}  // namespace

CalibrationControl::CalibrationControl(QMainWindow& window, QMdiArea& area, MessageSink& messages,
                                       TTeravo& model, TfmSettings& settings,
                                       ParameterFileActions& parameterFiles,
                                       QList<QAction*> commands)
    : QObject(&window),
      window_(window),
      area_(area),
      messages_(messages),
      model_(model),
      settings_(settings),
      parameterFiles_(parameterFiles),
      ask_([&window](CalibrationDialog& dialog) {
        PlaceCentred(dialog, window);
        return dialog.exec() == QDialog::Accepted;
      }),
      run_(window, std::move(commands), ToQString("Остановить калибровку")) {
  setObjectName(QStringLiteral("CalibrationControl"));
  run_.Progress().setObjectName(QStringLiteral("CalibrationProgressLine"));
  run_.StopAction().setObjectName(QStringLiteral("aStopCalibration"));
  connect(&run_, &BackgroundRun::Ended, this, &CalibrationControl::RunEnded);
}

CalibrationControl* CalibrationControl::Of(const QWidget& widget) {
  const QWidget* top = widget.window();
  return top ? top->findChild<CalibrationControl*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

TParameters CalibrationControl::StartingSet() const {
  // Nothing accepted yet leaves every parameter zero: the dialog's defaults stand in, as
  // accepting them unchanged would store them.
  if (model_.Parameters() == TParameters{}) return ParametersFromTexts({});
  return model_.Parameters();
}

void CalibrationControl::Execute(const DataAnalysisResult& data) {
  if (const CommandOutcome busy = run_.CanStart(); !busy.ran()) {
    ReportOutcome(messages_, &window_, busy);
    return;
  }
  const CalibrationDialog::Defaults defaults{StartingSet().FByProbability,
                                             data.options.holdout_share, data.data.LastTime() / 2};
  CalibrationDialog dialog(defaults, LocaleDecimalSeparator(), messages_, &window_);
  if (!ask_(dialog)) return;
  auto settings = dialog.Settings();
  if (auto* chosen = std::get_if<CalibrationSettings>(&settings)) Start(data, std::move(*chosen));
}

bool CalibrationControl::Start(const DataAnalysisResult& data, CalibrationSettings settings) {
  if (const CommandOutcome busy = run_.CanStart(); !busy.ran()) {
    ReportOutcome(messages_, &window_, busy);
    return false;
  }
  const TParameters given = StartingSet();
  // The forecast plays the most and the longest: it stands for every play of the fit.
  TTeravo check;
  static_cast<TParameters&>(check) = given;
  const double last = data.data.LastTime();
  CoverDays(check, last + settings.horizon.value_or(last / 2));
  if (const CommandOutcome refused = CheckBeforeRun(
          check, std::max(settings.plays, settings.forecastPlays), false, settings.threads);
      !refused.ran()) {
    ReportOutcome(messages_, &window_, refused);
    return false;
  }
  pending_ = CalibrationResult{data.title, data.data, settings, {}};

  ProgressLine& line = run_.Progress();
  line.ShowSeries(settings.limits.maxEvaluations);
  line.Bar()->setFormat(ToQString("Калибровка: подготовка"));
  run_.StartInBackground(
      [this, given, data = data.data, settings = std::move(settings)](const BackgroundJob& job) {
        FitControl control;
        control.stop = job.Stop();
        control.progress = [this, &job](const FitProgress& progress) {
          job.Report([this, progress] { ShowProgress(progress); });
        };
        Ran ran;
        try {
          ran.calibration = Calibrate(given, data, settings, control);
        } catch (const std::exception& error) {
          ran.error = error.what();
        }
        ran.stopped = job.Stop().stop_requested();
        return ran;
      },
      [this](Ran&& ran) { Finish(std::move(ran)); });
  return true;
}

void CalibrationControl::ShowProgress(const FitProgress& progress) {
  ProgressLine& line = run_.Progress();
  line.SetPlaysDone(std::min(progress.evaluations, line.Bar()->maximum()));
  line.Bar()->setFormat(
      ToQString("Калибровка: оценка %1, розыгрышей %2, лучшая девиация %3")
          .arg(progress.evaluations)
          .arg(static_cast<qlonglong>(progress.plays))
          .arg(ToQString(FloatToStr(progress.bestDistance, LocaleDecimalSeparator()))));
}

void CalibrationControl::Finish(Ran&& ran) {
  if (!ran.calibration) {
    // A stop before the first evaluation ended leaves nothing to show.
    messages_.Info(&window_, ran.stopped ? ToQString("Калибровка остановлена: ни одна оценка не "
                                                     "была досчитана до конца.")
                                         : ToQString(ran.error));
    return;
  }
  CalibrationResult result = std::move(pending_);
  result.calibration = std::move(*ran.calibration);
  RunGuarded(messages_, &window_, [&] {
    auto* window =
        new TCalibrationWindow(std::move(result), LocaleDecimalSeparator(), messages_,
                               {[this](const TParameters& fitted) { SaveParameters(fitted); },
                                [this](const TParameters& fitted) { AcceptInSettings(fitted); }});
    area_.addSubWindow(window);
    window->show();
    area_.setActiveSubWindow(window);
    last_ = window;
  });
}

void CalibrationControl::SaveParameters(const TParameters& fitted) {
  // The dialog's other texts (the total time) go with the fitted ones.
  ParameterFile file = ParameterFileOf(settings_);
  file.byProbability = fitted.FByProbability;
  for (const auto& [name, text] : TextsOf(fitted, '.')) {
    for (auto& [edit, value] : file.texts)
      if (edit == name) value = text;
  }
  parameterFiles_.SaveAsked(file);
}

void CalibrationControl::AcceptInSettings(const TParameters& fitted) {
  settings_.SetProbabilityChecked(fitted.FByProbability);
  for (const auto& [name, text] : TextsOf(fitted, settings_.DecimalSeparator()))
    settings_.SetText(name, text);
  if (settings_.AcceptTexts()) {
    window_.statusBar()->showMessage(
        ToQString("Подобранные параметры приняты: F3, F4 и исследования берут их."),
        kAcceptedNoteMs);
  }
}

}  // namespace teravo
