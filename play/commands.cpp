#include "play/commands.h"

#include <string>

#include "core/number_text.h"
#include "core/rounding.h"
#include "play/multi_play.h"
#include "play/play_driver.h"
#include "play/run_budget.h"

namespace teravo {

namespace {

constexpr std::string_view kChangeInSettings =
    " Измените параметры в окне «Параметры розыгрыша» (F2).";

std::string HarmText(const TParameters& p, Harm harm) {
  switch (harm) {
    case Harm::TooManyServerErrors:
      return "Начальное кол-во ошибок и коэффициент сложности сервера слишком велики: в сервере "
             "было бы около " +
             IntToStr(
                 RoundTiesEven(static_cast<long double>(p.FErrorsNum0) * p.FCoeffComplexity / 10)) +
             " ошибок, а розыгрыш допускает не больше " +
             IntToStr(static_cast<std::int64_t>(kMaxServerErrors)) + "." +
             std::string(kChangeInSettings);
    case Harm::EndlessNewErrors:
      return std::string(p.FByProbability
                             ? "Вероятность внести ошибку при исправлении слишком близка к 1"
                             : "Интенсивность внесения ошибки при исправлении слишком велика "
                               "для шага итерации") +
             ": одно исправление вносило бы больше новых ошибок, чем помещается в память." +
             std::string(kChangeInSettings);
    case Harm::NoComplexity:
    case Harm::None:
      break;
  }
  return std::string(kParametersNotSet);
}

}  // namespace

CommandOutcome CheckBeforeRun(const TTeravo& model, std::int32_t plays, bool keepPoints,
                              int threads) {
  if (const Harm harm = HarmOf(model); harm != Harm::None) {
    return CommandOutcome::Refused(HarmText(model, harm));
  }
  if (!IsUsable(model) || plays < 1) {
    return CommandOutcome::Refused(std::string(kParametersNotSet));
  }
  const RunNeeds needs = EstimateNeeds(model, plays, keepPoints, threads);
  if (auto refusal = MemoryRefusal(needs, plays, MachineMemoryBytes())) {
    return CommandOutcome::Refused(*refusal + std::string(kChangeInSettings));
  }
  return CommandOutcome::Ran();
}

CommandOutcome CheckedPlay(TTeravo& model, PlayHost& host, const PlayContext& context,
                           const PlayOptions& options) {
  if (CommandOutcome check = CheckBeforeRun(model, 1, options.keepPoints, 1); !check.ran()) {
    return check;
  }
  return Guarded([&] {
    Play(model, host, context, options);
    return CommandOutcome::Ran();
  });
}

CommandOutcome CheckedSeries(TTeravo& model, PlayHost& host, const PlayContext& context,
                             const SeriesOptions& options) {
  if (CommandOutcome check = CheckBeforeRun(model, model.FK, options.keepPoints, options.threads);
      !check.ran()) {
    return check;
  }
  return Guarded([&] { return PlayMultiple(model, host, context, options); });
}

}  // namespace teravo
