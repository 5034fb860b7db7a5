#include "play/multi_play.h"

#include <array>
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
#include "play/series_statistics.h"

namespace teravo {

namespace {

constexpr std::array<Field, 5> kIntegerFields = {
    Field::edClientErrNums,     Field::edWorkClientNum,     Field::edServerErrNums,
    Field::edNewClientErrorAdd, Field::edNewServerErrorAdd,
};
constexpr std::array<Field, 7> kRealFields = {
    Field::edAverCorrectTime,
    Field::edAverWaitTime,
    Field::edCorrectServerTime,
    Field::edPer,
    Field::edTer,
    Field::edAverTer,
    Field::edKg,
};
constexpr std::array<Chart, kChartCount> kAccumulationOrder = {
    Chart::chNums,  Chart::chClientErrors,    Chart::chErrorsGist,
    Chart::chAvTer, Chart::chErrorsIntensity,
};

}  // namespace

void FormAverages(const std::vector<std::shared_ptr<PlayRecord>>& plays, PlayRecord& averages) {
  const char separator = averages.Separator();
  // The means are those of the values as the play windows show them: their texts are read back.
  std::array<std::int64_t, kIntegerFields.size()> integerSums{};
  std::array<double, kRealFields.size()> realSums{};
  for (const auto& play : plays) {
    for (std::size_t f = 0; f < kIntegerFields.size(); ++f) {
      integerSums[f] += StrToInt(play->Text(kIntegerFields[f]));
    }
    for (std::size_t f = 0; f < kRealFields.size(); ++f) {
      realSums[f] = ToDouble(realSums[f] + StrToFloat(play->Text(kRealFields[f]), separator));
    }
    for (Chart chart : kAccumulationOrder) {
      AccumulateSeries(play->Series(chart), averages.Series(chart));
    }
  }

  const long double count = static_cast<long double>(plays.size());
  for (std::size_t f = 0; f < kIntegerFields.size(); ++f) {
    averages.SetInt(kIntegerFields[f],
                    RoundTiesEven(CheckedDiv(static_cast<long double>(integerSums[f]), count)));
  }
  for (std::size_t f = 0; f < kRealFields.size(); ++f) {
    averages.SetReal(kRealFields[f], CheckedDiv(realSums[f], count));
  }
  const double share = 1.0 / static_cast<double>(plays.size());
  for (Chart chart : kAccumulationOrder) ScaleSeries(averages.Series(chart), share);
  FormSpreads(plays, averages);
}

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
  averages->Seed = 0;
  averages->Title = std::string(kAveragesTitle);
  if (plays.Stopped()) {
    averages->Title += " (остановлен после " + IntToStr(finished) + " из " + IntToStr(plays.total) +
                       " розыгрышей)";
  }
  averages->BeginSettings.push_back(GetParametersText(model, context.TotalTimeText, separator) +
                                    "; Число розыгрышей:" + IntToStr(finished));
  averages->State = WindowState::Normal;
  host.ShowPlayWindow(*averages, WindowState::Normal);

  auto distributions = std::make_shared<DistributionsRecord>(separator);
  host.OpenDistributionsWindow(distributions);
  distributions->Caption = "Распределения по результатам " + IntToStr(finished) + " розыгрышей";
  distributions->FPlayWindows.assign(plays.records.begin(), plays.records.end());
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
  return edRecallClick(*distributions, host);
}

CommandOutcome PlayMultiple(TTeravo& model, PlayHost& host, const PlayContext& context,
                            const SeriesOptions& options) {
  const SeriesStart start = BeginSeries(model, model.FK);
  SeriesPlays plays = RunSeriesPlays(model.Parameters(), start, context, options);
  return OpenSeries(model, host, context, start, std::move(plays));
}

}  // namespace teravo
