#include "play/play_driver.h"

#include <array>
#include <cmath>
#include <string>

#include "core/general_error.h"
#include "core/number_text.h"
#include "core/rounding.h"
#include "params/run_description.h"

namespace teravo {

namespace {

constexpr int kHistogramBins = 100;

// New errors came faster than any list can hold: the window keeps what was played and says
// that it stopped, and the play ends with a message naming the parameter to change.
[[noreturn]] void StopAtErrorLimit(TTeravo& model, PlayHost& host, PlayRecord& record,
                                   std::int64_t step) {
  record.Stopped = true;
  record.Title += kStoppedMark;
  host.Repaint(record);
  model.FShowProgress = true;
  Raise(ErrorLimitText(model, step));
}

}  // namespace

std::string ErrorLimitText(const TTeravo& model, std::int64_t step) {
  return "Розыгрыш остановлен на шаге " + IntToStr(step) + ": ошибок стало больше " +
         IntToStr(static_cast<std::int64_t>(model.MaxErrorsInList)) +
         ", исправления вносят новые ошибки слишком часто. Уменьшите " +
         (model.FByProbability ? "вероятность внести ошибку при исправлении"
                               : "интенсивность внесения ошибки при исправлении") +
         " в окне «Параметры розыгрыша» (F2).";
}

PlayFigures FinalFigures(const TTeravo& model, const TPlayEnd& end) {
  PlayFigures figures{};
  const auto set = [&figures](Field field, long double value) {
    figures[static_cast<std::size_t>(field)] = value;
  };
  set(Field::edCurTime, static_cast<long double>(model.FM) * model.FDT);
  set(Field::edWorkClientNum, model.FWorkClientNum);
  set(Field::edClientErrNums, static_cast<long double>(model.FClientErrors.size()));
  set(Field::edServerErrNums, static_cast<long double>(model.FServerErrors.size()));
  set(Field::edCorrectServerTime, model.FCorrectServerTime);
  set(Field::edNewClientErrorAdd, model.FNewClientErrorAdd);
  set(Field::edNewServerErrorAdd, model.FNewServerErrorAdd);
  set(Field::edTer, model.FTer);
  set(Field::edAverTer, end.AverTer);
  set(Field::edPer, model.FPer);
  set(Field::edKg, end.Kg);
  set(Field::edAverCorrectTime, end.AverCorrectTime);
  set(Field::edAverWaitTime, end.AverWaitTime);
  return figures;
}

void SetFigures(PlayRecord& record, const PlayFigures& figures) {
  for (const ResultField& row : ResultFields()) {
    const long double value = figures[static_cast<std::size_t>(row.field)];
    if (row.kind == ValueKind::Integer) {
      record.SetInt(row.field, static_cast<std::int64_t>(value));
    } else {
      record.SetReal(row.field, value);
    }
  }
}

std::int64_t FixedErrors(const TTeravo& model, std::int64_t initialErrors) {
  return initialErrors + model.FNewClientErrorAdd + model.FNewServerErrorAdd -
         static_cast<std::int64_t>(model.FClientErrors.size() + model.FServerErrors.size());
}

std::int32_t GistRefreshStep(std::int32_t m) {
  const std::int64_t n = RoundTiesEven(static_cast<long double>(m) / 100);
  return n < 1 ? 1 : static_cast<std::int32_t>(n);
}

void FillErrorHistogram(const ErrorList& errors, ChartSeries& series) {
  // One pass instead of a hundred: a position in [0, 1) falls in exactly one bin, the integer
  // part of the exact product 100 * p (a double times 100 is exact in extended precision).
  std::array<int, kHistogramBins> counts{};
  for (const auto& error : errors) {
    const long double scaled = 100.0L * error->GetPosition();
    if (scaled >= 0 && scaled < kHistogramBins) ++counts[static_cast<std::size_t>(scaled)];
  }
  series.Clear();
  for (int j = 0; j < kHistogramBins; ++j) series.AddXY(j + 1, counts[static_cast<std::size_t>(j)]);
}

std::shared_ptr<PlayRecord> Play(TTeravo& model, PlayHost& host, const PlayContext& context,
                                 const PlayOptions& options) {
  model.InitPlay();
  auto record = std::make_shared<PlayRecord>(context.Separator);
  host.OpenPlayWindow(record);
  record->Seed = model.PlaySeed;
  record->Parameters = model.Parameters();
  record->TotalTimeText = context.TotalTimeText;
  record->Title = "№" + IntToStr(model.GetPlayCount()) + " розыгрыш " + " " + context.Now();
  record->BeginSettings.push_back(
      GetParametersText(model, context.TotalTimeText, context.Separator));
  record->BeginSettings.push_back(std::string(kSeedLine) + IntToStr(model.PlaySeed));
  const WindowState state = model.FShowProgress ? WindowState::Maximised : WindowState::Minimised;
  record->State = state;
  host.ShowPlayWindow(*record, state);

  const std::int32_t m = model.FM;
  const std::int32_t n = GistRefreshStep(m);
  const long double dt = model.FDT;
  ChartSeries& nums = record->Series(Chart::chNums);
  ChartSeries& clientErrors = record->Series(Chart::chClientErrors);
  ChartSeries& averTer = record->Series(Chart::chAvTer);
  ChartSeries& intensity = record->Series(Chart::chErrorsIntensity);
  ChartSeries& gist = record->Series(Chart::chErrorsGist);
  ChartSeries& failures = record->Series(Chart::chFailures);
  ChartSeries& fixedErrors = record->Series(Chart::chFixedErrors);
  const std::size_t points = options.keepPoints && m >= 0 ? static_cast<std::size_t>(m) + 1 : 0;
  for (ChartSeries* series :
       {&nums, &clientErrors, &averTer, &intensity, &failures, &fixedErrors}) {
    series->ExpectSteps(dt);
    series->Reserve(points);
  }
  for (ChartSeries* series : {&nums, &clientErrors, &failures, &fixedErrors})
    series->ExpectCounts();
  // Errors corrected so far: those the play began with and brought in, less those left.
  const std::int64_t initialErrors =
      static_cast<std::int64_t>(model.FClientErrors.size() + model.FServerErrors.size());
  gist.Reserve(kHistogramBins);

  // Stops are looked for every so many steps: often enough to answer at once, rarely
  // enough to cost nothing.
  constexpr std::int64_t kStopCheckSteps = 256;
  // Steps until the next refresh of the histogram and Kg: the refresh comes at every n-th
  // step from step 0 on.
  std::int32_t untilRefresh = 0;
  // The server's failed time in steps, recomputed only when it changed: most steps leave it.
  double correctServerTime = 0;
  long double failedSteps = 0;
  for (std::int64_t i = 0; i <= m; ++i) {
    if (i % kStopCheckSteps == 0 && options.stop.stop_requested()) {
      record->Stopped = true;
      record->Title += kStoppedMark;
      host.Repaint(*record);
      model.FShowProgress = true;
      return record;
    }
    model.Iteration();
    if (model.ErrorLimitReached) StopAtErrorLimit(model, host, *record, i);
    model.ExtendFailureFreeRun();
    model.UpdateFailureProbability();

    // Fields keep numbers; their texts are formed only when the window shows or a reader asks.
    const long double now = static_cast<long double>(i) * dt;
    // The moment is a chart's x: one beyond a double is an overflow, raised at this step.
    const double x = ToDouble(now);
    record->SetReal(Field::edCurTime, now);
    record->SetInt(Field::edWorkClientNum, model.FWorkClientNum);
    record->SetInt(Field::edClientErrNums, static_cast<std::int64_t>(model.FClientErrors.size()));
    record->SetInt(Field::edServerErrNums, static_cast<std::int64_t>(model.FServerErrors.size()));
    record->SetReal(Field::edCorrectServerTime, model.FCorrectServerTime);
    record->SetInt(Field::edNewClientErrorAdd, model.FNewClientErrorAdd);
    record->SetInt(Field::edNewServerErrorAdd, model.FNewServerErrorAdd);
    record->SetReal(Field::edTer, model.FTer);
    record->SetReal(Field::edAverTer, model.FAverTer);
    record->SetReal(Field::edPer, model.FPer);

    // Failures so far over the time the server has worked: (i + 1) steps less its failed time.
    if (model.FCorrectServerTime != correctServerTime) {
      correctServerTime = model.FCorrectServerTime;
      failedSteps = CheckedDiv(correctServerTime, dt);
    }
    const long double worked = ((static_cast<long double>(i) + 1) - failedSteps) * dt;
    const double failureIntensity = ToDouble(CheckedDiv(model.FFailureNum, worked));
    if (options.keepPoints) {
      nums.AddXY(x, model.FWorkClientNum);
      clientErrors.AddXY(x, static_cast<double>(model.FClientErrors.size()));
      averTer.AddXY(x, model.FAverTer);
      intensity.AddXY(x, failureIntensity);
      failures.AddXY(x, model.FFailureNum);
      fixedErrors.AddXY(x, static_cast<double>(FixedErrors(model, initialErrors)));
    }

    if (untilRefresh-- == 0) {
      untilRefresh = n - 1;
      FillErrorHistogram(model.FClientErrors, gist);
      const long double elapsed = (static_cast<long double>(i) + 1) * dt;
      record->SetReal(Field::edKg, model.AvailabilityCoefficient(elapsed));
      if (model.FShowProgress) host.Repaint(*record);
    }
  }

  // The last figures: the last step's, with what the end of the play adds.
  SetFigures(*record, FinalFigures(model, model.EndPlay()));
  host.Repaint(*record);
  model.FShowProgress = true;
  return record;
}

CommandOutcome ReplayPlay(TTeravo& model, PlayHost& host, const PlayContext& context,
                          const PlayRecord& original, const PlayOptions& options) {
  if (original.Kind != RecordKind::Play) {
    return CommandOutcome::Refused(std::string(kNothingToReplay));
  }
  return Guarded([&] {
    // A model of its own, so the current parameters and seeds are left as they are.
    TTeravo replay(std::make_unique<FixedSeedSource>(original.Seed));
    replay.Parameters() = original.Parameters;
    replay.FPlayCount = model.FPlayCount;
    replay.FShowProgress = true;
    PlayContext same = context;
    same.TotalTimeText = original.TotalTimeText;
    Play(replay, host, same, options);
    model.FPlayCount = replay.FPlayCount;
    model.FShowProgress = true;
    return CommandOutcome::Ran();
  });
}

}  // namespace teravo
