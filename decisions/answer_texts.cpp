#include "decisions/answer_texts.h"

#include <cmath>

#include "core/number_text.h"

namespace teravo {

namespace {

std::string Rounded(double value, double unit, char separator) {
  return FloatToStr(std::round(value / unit) * unit, separator);
}

bool SingularAfterNumber(std::int32_t count) {
  return count % 10 == 1 && count % 100 != 11;
}

// "из 21 розыгрыша", "из 100 розыгрышей".
std::string OfPlays(std::int32_t plays) {
  return "из " + IntToStr(plays) + (SingularAfterNumber(plays) ? " розыгрыша" : " розыгрышей");
}

// "по 21 розыгрышу", "по 100 розыгрышам".
std::string ByPlays(std::int32_t plays) {
  return "по " + IntToStr(plays) + (SingularAfterNumber(plays) ? " розыгрышу" : " розыгрышам");
}

std::string Money(double value, char separator) {
  return Rounded(value, 1, separator);
}

}  // namespace

std::string PercentText(double probability, char separator) {
  return Rounded(probability * 100, 0.1, separator) + " %";
}

std::string DaysText(double days, char separator) {
  return Rounded(days, 0.01, separator);
}

std::string TimeAnswerText(const Answers& answers, const Question& question, char separator) {
  const QuantileAnswer& answer = answers.time.answer;
  const std::string p = PercentText(question.probability, separator);
  if (answer.time) {
    return "С вероятностью " + p + " цель достигается к " + DaysText(*answer.time, separator) +
           " сут.";
  }
  const double reached =
      answers.time.plays > 0
          ? static_cast<double>(answers.time.reachedTimes.size()) / answers.time.plays
          : 0;
  return "Срок, к которому цель достигается с вероятностью " + p +
         ", — не достигнута: за весь розыгрыш (" + DaysText(answers.time.playEnd, separator) +
         " сут.) её достигли лишь " + PercentText(reached, separator) + " розыгрышей.";
}

std::string TimeBasisText(const Answers& answers, char separator) {
  const TimeToTarget& time = answers.time;
  std::string text = "Ответ " + ByPlays(time.plays) + ": цели достигли " +
                     IntToStr(static_cast<std::int64_t>(time.reachedTimes.size())) +
                     ", не достигли до конца розыгрыша " + IntToStr(time.Censored()) +
                     " (они учтены как «не достигнута», а не отброшены).";
  const QuantileAnswer& answer = time.answer;
  text += " Интервал для этого срока с доверием " + PercentText(answer.coverage, separator) + ": ";
  if (!answer.low) {
    text += "весь за концом розыгрыша (не достигнута).";
  } else {
    text += "от " + DaysText(*answer.low, separator) + " сут. до " +
            (answer.high ? DaysText(*answer.high, separator) + " сут."
                         : std::string("«не достигнута» (за концом розыгрыша)."));
  }
  if (answers.stopped) text += " Расчёт остановлен: ответ по розыгрышам до остановки.";
  return text;
}

std::string ByDateText(const Answers& answers, char separator) {
  if (!answers.by || !answers.byShare) return {};
  const auto reached = ReachedBy(answers.firstTimes, *answers.by);
  return "К " + DaysText(*answers.by, separator) + " сут. цель достигается с вероятностью " +
         PercentText(*answers.byShare, separator) + " (" + IntToStr(reached) + " " +
         OfPlays(answers.time.plays) + ").";
}

std::string StaffingText(const Answers& answers, const Question& question, char separator) {
  if (!answers.staffing) return {};
  const Staffing& staffing = *answers.staffing;
  const std::string p = PercentText(question.probability, separator);
  const std::string by = DaysText(answers.by.value_or(0), separator);
  const auto trialOf = [&staffing](std::int32_t programmers) -> const StaffingTrial* {
    for (const StaffingTrial& trial : staffing.trials) {
      if (trial.programmers == programmers && !trial.freshSeeds) return &trial;
    }
    return nullptr;
  };
  std::string text;
  switch (staffing.status) {
    case StaffingStatus::NotReached: {
      const StaffingTrial* most = trialOf(question.staffing->most);
      return "Даже " + IntToStr(question.staffing->most) + " программистов не достигают цели к " +
             by + " сут. с вероятностью " + p +
             (most ? " (лишь " + PercentText(most->Share(), separator) + " " +
                         OfPlays(most->plays) + ")."
                   : ".");
    }
    case StaffingStatus::Stopped:
      if (!staffing.answer) return "Подбор программистов остановлен до ответа.";
      break;
    case StaffingStatus::Found:
    case StaffingStatus::BudgetSpent:
      break;
  }
  const std::int32_t answer = *staffing.answer;
  const StaffingTrial* found = trialOf(answer);
  text = "Чтобы с вероятностью не ниже " + p + " достичь цели к " + by +
         " сут., нужно программистов: " + IntToStr(answer);
  if (found) {
    text +=
        " (с ними — " + PercentText(found->Share(), separator) + " " + OfPlays(found->plays) + ")";
  }
  text += ".";
  if (staffing.status == StaffingStatus::BudgetSpent) {
    text += " Поиск исчерпал свои оценки: меньшее число проверено не до конца.";
  }
  if (staffing.recheck) {
    text += " Проверка на новых розыгрышах: " + IntToStr(answer) + " — " +
            PercentText(staffing.recheck->Share(), separator);
    if (staffing.recheckBelow) {
      text += ", " + IntToStr(answer - 1) + " — " +
              PercentText(staffing.recheckBelow->Share(), separator);
    }
    text += staffing.Confirmed(question.probability)
                ? ": ответ подтверждён."
                : ": ответ не подтверждён, он у границы — возьмите больше розыгрышей.";
  } else if (staffing.status == StaffingStatus::Stopped) {
    text += " Проверка на новых розыгрышах остановлена.";
  }
  return text;
}

std::string CostText(const Answers& answers, char separator) {
  if (!answers.cost) return {};
  const ReleaseCost& cost = *answers.cost;
  const std::size_t best = cost.best;
  return "Дешевле всего выпуск в " + DaysText(cost.times[best], separator) +
         " сут.: ожидаемая стоимость " + Money(cost.mean[best], separator) +
         ", с вероятностью 90 % — от " + Money(cost.low[best], separator) + " до " +
         Money(cost.high[best], separator) + " (" + ByPlays(cost.plays) + ").";
}

std::string CostModelText(const Answers& answers, const CostQuestion& costs, char separator) {
  return "Стоимость выпуска в момент t = программистов (" + IntToStr(answers.programmers) +
         ") × стоимость дня программиста (" + FloatToStr(costs.perProgrammerDay, separator) +
         ") × t + стоимость отказа (" + FloatToStr(costs.perFailure, separator) +
         ") × отказы после t до горизонта (" +
         DaysText(answers.cost ? answers.cost->times.back() : costs.horizon, separator) +
         " сут.). Отказы — кривая накопленных отказов каждого розыгрыша; полоса — от 5 до 95 % "
         "розыгрышей.";
}

}  // namespace teravo
