#include "ui/sweep/sweep_control.h"

#include <algorithm>
#include <utility>

#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>

#include "core/number_text.h"
#include "params/run_description.h"
#include "play/commands.h"
#include "play/run_budget.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"
#include "ui/shell/window_placement.h"
#include "ui/sweep/sweep_window.h"

namespace teravo {

SweepControl::SweepControl(QMainWindow& window, QMdiArea& area, MessageSink& messages,
                           QList<QAction*> commands)
    : QObject(&window),
      window_(window),
      area_(area),
      messages_(messages),
      ask_([&window](SweepDialog& dialog) {
        PlaceCentred(dialog, window);
        return dialog.exec() == QDialog::Accepted;
      }),
      run_(window, std::move(commands), ToQString("Остановить исследование")) {
  setObjectName(QStringLiteral("SweepControl"));
  run_.Progress().setObjectName(QStringLiteral("SweepProgressLine"));
  run_.StopAction().setObjectName(QStringLiteral("aStopSweep"));
  connect(&run_, &BackgroundRun::Ended, this, &SweepControl::RunEnded);
}

void SweepControl::Execute(TTeravo& model, char separator) {
  if (Running()) return;
  // The points differ from the accepted parameters in one value only: those must be usable.
  if (const CommandOutcome check = CheckBeforeRun(model, model.FK, false, 0); !check.ran()) {
    ReportOutcome(messages_, &window_, check);
    return;
  }
  SweepDialog dialog(model.Parameters(), separator, messages_, &window_);
  if (!ask_(dialog)) return;
  const auto request = dialog.Request();
  if (const auto* chosen = std::get_if<SweepRequest>(&request)) Start(model, *chosen, separator);
}

bool SweepControl::Start(TTeravo& model, const SweepRequest& request, char separator, int threads) {
  if (Running() || request.edit == nullptr || request.values.empty()) return false;
  const std::vector<SweepPlan> plan =
      PlanSweep(model.Parameters(), *request.edit, request.values, separator, threads);
  QStringList refusals;
  std::int32_t mostPlays = 1;
  playsBefore_.clear();
  ordinal_.clear();
  clients_.clear();
  int plays = 0;
  pointsToRun_ = 0;
  for (const SweepPlan& point : plan) {
    playsBefore_.push_back(plays);
    ordinal_.push_back(pointsToRun_ + 1);
    clients_.push_back(point.parameters.FClientsNum);
    if (point.refused) {
      refusals << ToQString("%1 = %2: %3")
                      .arg(EditCaption(*request.edit), ToQString(point.value),
                           ToQString(*point.refused));
      continue;
    }
    ++pointsToRun_;
    plays += point.parameters.FK;
    mostPlays = std::max(mostPlays, point.parameters.FK);
  }
  if (!refusals.isEmpty()) {
    messages_.Info(&window_, ToQString("Эти значения не приняты и пропущены:\n") +
                                 refusals.join(QLatin1Char('\n')));
  }
  if (pointsToRun_ == 0) return false;
  RunNeeds needs;
  needs.seconds = SweepSeconds(plan, threads);
  if (const auto question = LongRunQuestion(needs, "Исследование");
      question && !messages_.Ask(&window_, ToQString(*question))) {
    return false;
  }

  started_ = Started{request, request.values, 0, separator, {}};
  // Every point starts from the accepted parameters but for the swept one.
  started_.parameters = GetParametersText(
      model, FloatToStr(static_cast<long double>(model.FM) * model.FDT, separator), separator);
  // The seeds a series of the largest point would take: every point plays from the first.
  started_.seed = model.Seeds().NextSeeds(static_cast<std::uint32_t>(mostPlays));

  ProgressLine& line = run_.Progress();
  line.ShowSeries(plays);
  line.Bar()->setFormat(ToQString("Исследование: точка 1 из %1").arg(pointsToRun_));
  // The worker has its own copy of the plan and touches no window and no model; the point
  // tables it reads stay as they are while it runs.
  const std::uint32_t seed = started_.seed;
  run_.StartInBackground(
      [this, plan = std::move(plan), seed, separator, threads](const BackgroundJob& job) {
        SweepRunOptions options;
        options.threads = threads;
        options.stop = job.Stop();
        options.progress = [this, &job](std::int32_t index, int done, int /*total*/) {
          const auto at = static_cast<std::size_t>(index - 1);
          job.Report([this, playsDone = playsBefore_[at] + done, point = ordinal_[at]] {
            ShowProgress(playsDone, point);
          });
        };
        return RunSweep(plan, seed, separator, options);
      },
      [this](SweepRun&& ran) { Finish(std::move(ran)); });
  return true;
}

void SweepControl::ShowProgress(int playsDone, int point) {
  run_.Progress().SetPlaysDone(playsDone);
  run_.Progress().Bar()->setFormat(
      ToQString("Исследование: точка %1 из %2").arg(point).arg(pointsToRun_));
}

void SweepControl::Finish(SweepRun&& ran) {
  const bool anyRan = std::any_of(ran.points.begin(), ran.points.end(),
                                  [](const SweepPoint& point) { return !point.refused; });
  if (anyRan) {
    SweepResult result;
    result.table = SweepTable{std::string(started_.request.edit->name), started_.values,
                              started_.seed, started_.separator, std::move(ran.points)};
    result.edit = started_.request.edit;
    result.logSpaced = started_.request.logSpaced;
    result.figure = started_.request.figure;
    result.stopped = ran.stopped;
    result.clients = clients_;
    result.beginSettings = {std::string(kBeginSettingsHeading), started_.parameters};
    RunGuarded(messages_, &window_, [&] {
      auto* window = new TSweepResults(std::move(result), messages_);
      area_.addSubWindow(window);
      window->show();
      area_.setActiveSubWindow(window);
      last_ = window;
    });
  } else if (ran.stopped && !ran.error) {
    messages_.Info(&window_, ToQString("Исследование остановлено: ни одна точка не была "
                                       "досчитана до конца."));
  }
  if (ran.error) {
    ReportOutcome(messages_, &window_,
                  Guarded([&]() -> CommandOutcome { std::rethrow_exception(ran.error); }));
  }
}

}  // namespace teravo
