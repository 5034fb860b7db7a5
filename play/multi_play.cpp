#include "play/multi_play.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/rounding.h"
#include "params/run_description.h"
#include "play/distributions.h"
#include "play/play_driver.h"
#include "play/series.h"
#include "results/series_statistics.h"

namespace teravo {

CommandOutcome OpenSeries(TTeravo& model, PlayHost& host, const PlayContext& context,
                          const SeriesStart& start, SeriesPlays&& plays) {
  const char separator = context.Separator;
  const auto finished = static_cast<std::int32_t>(plays.records.size());
  model.FPlayCount = start.playCountBefore + finished + (plays.error ? 1 : 0);
  model.FShowProgress = true;  // the next single play opens maximised again

  // The records stay alive for the whole series even if the user closes a window meanwhile.
  for (const auto& record : plays.records) {
    host.OpenPlayWindow(record);
    host.ShowPlayWindow(*record, WindowState::Minimised);
    host.Repaint(*record);
  }
  if (plays.error) {
    if (plays.failedPlay) {
      host.OpenPlayWindow(plays.failedPlay);
      host.ShowPlayWindow(*plays.failedPlay, WindowState::Minimised);
      host.Repaint(*plays.failedPlay);
    }
    std::rethrow_exception(plays.error);
  }
  if (finished == 0) return CommandOutcome::Refused(std::string(kSeriesStoppedEmpty));

  auto averages = std::make_shared<PlayRecord>(separator);
  host.OpenPlayWindow(averages);
  averages->Kind = RecordKind::Averages;
  averages->PlayCount = finished;
  averages->Title = std::string(kAveragesTitle);
  if (plays.Stopped()) {
    averages->Title += " (остановлен после " + IntToStr(finished) + " из " + IntToStr(plays.total) +
                       " розыгрышей)";
  }
  averages->BeginSettings.push_back(GetParametersText(model, context.TotalTimeText, separator) +
                                    "; Число розыгрышей:" + IntToStr(finished));
  averages->SeriesLabel = "розыгрыши №" + IntToStr(start.playCountBefore + 1) + "–" +
                     IntToStr(start.playCountBefore + finished);
  if (!start.startedAt.empty()) averages->SeriesLabel += ", начаты " + start.startedAt;
  averages->State = WindowState::Normal;
  host.ShowPlayWindow(*averages, WindowState::Normal);

  auto distributions = std::make_shared<DistributionsRecord>(separator);
  host.OpenDistributionsWindow(distributions);
  distributions->Caption = "Распределения по результатам " + IntToStr(finished) + " розыгрышей";
  distributions->FPlayWindows.assign(plays.records.begin(), plays.records.end());
  distributions->Averages = averages;
  distributions->SeriesLabel = averages->SeriesLabel;
  const long double totalTime = static_cast<long double>(model.FM) * model.FDT;
  distributions->FTotalTime = ToDouble(totalTime);
  distributions->FM = model.FM;
  distributions->FK = finished;
  distributions->CurTimeText = FloatToStr(totalTime / 2, separator);

  FormAverages(plays.records, *averages);
  averages->SetReal(Field::edCurTime, totalTime);

  host.Repaint(*averages);
  // Plays without points have no bars to count; the moment is still checked.
  if (!plays.withPoints) {
    host.Repaint(*distributions);
    return CheckMoment(*distributions);
  }
  return RecomputeDistributions(*distributions, host);
}

CommandOutcome PlayMultiple(TTeravo& model, PlayHost& host, const PlayContext& context,
                            const SeriesOptions& options) {
  const SeriesStart start = BeginSeries(model, model.FK);
  SeriesPlays plays = RunSeriesPlays(model.Parameters(), start, context, options);
  return OpenSeries(model, host, context, start, std::move(plays));
}

}  // namespace teravo
