#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "core/number_text.h"
#include "decisions/answer_texts.h"
#include "decisions/questions.h"
#include "model/teravo.h"
#include "reliability/json_text.h"
#include "tools/command_refusal.h"
#include "tools/run_setup.h"
#include "tools/sim_commands.h"
#include "tools/sim_output.h"
#include "tools/sim_runner.h"

namespace teravo::sim {

namespace {

double Real(std::string_view text, std::string_view option, double low, double high,
            char separator) {
  const auto value = ParseReal(text, separator);
  if (!value || !(*value >= low && *value <= high)) {
    throw Refused{std::string(option) + " needs a number from " + FloatToStr(low, separator) +
                  " to " + FloatToStr(high, separator)};
  }
  return static_cast<double>(*value);
}

int Whole(std::string_view text, std::string_view option, int low, int high) {
  const auto value = ParseInt(text);
  if (!value || *value < low || *value > high) {
    throw Refused{std::string(option) + " needs a whole number from " + IntToStr(low) + " to " +
                  IntToStr(high)};
  }
  return *value;
}

// "A:B" or "A:B:C": the parts between the colons.
std::vector<std::string_view> Parts(std::string_view text) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0; start <= text.size();) {
    const std::size_t colon = std::min(text.find(':', start), text.size());
    parts.push_back(text.substr(start, colon - start));
    start = colon + 1;
  }
  return parts;
}

Question QuestionOf(const SimOptions& options, const TTeravo& model, char separator) {
  Question question;
  auto target = ParseTarget(*options.askTarget, separator);
  if (auto* fault = std::get_if<std::string>(&target)) throw Refused{*fault};
  question.target = std::get<Target>(target);
  if (options.askFirstReach) question.target.holding = TargetHolding::FirstReach;
  if (options.askProbability) {
    question.probability = Real(*options.askProbability, "--probability", 0.001, 1, separator);
  }
  question.plays = Whole(options.askPlays.value_or(IntToStr(model.FK)), "--plays (or edK)", 1,
                         kMostQuestionPlays);
  question.firstSeed = options.seed.value_or(1);
  const double playEnd = static_cast<double>(static_cast<long double>(model.FM) * model.FDT);
  if (options.askBy) {
    question.by = Real(*options.askBy, "--by", 0, playEnd, separator);
    if (*question.by == 0) throw Refused{"--by needs a date after the play's start"};
  }
  if (options.askProgrammers) {
    const auto parts = Parts(*options.askProgrammers);
    if (parts.size() != 2) throw Refused{"--programmers needs FEWEST:MOST"};
    StaffingQuestion staffing;
    staffing.fewest = Whole(parts[0], "--programmers", 1, 100000);
    staffing.most = Whole(parts[1], "--programmers", staffing.fewest, 100000);
    if (options.askMaxEvaluations) {
      staffing.maxEvaluations = Whole(*options.askMaxEvaluations, "--max-evaluations", 1, 1000);
    }
    question.staffing = staffing;
  }
  if (options.askCosts) {
    const auto parts = Parts(*options.askCosts);
    if (parts.size() != 2 && parts.size() != 3) {
      throw Refused{"--costs needs DAY:FAILURE or DAY:FAILURE:HORIZON"};
    }
    CostQuestion costs;
    costs.perProgrammerDay = Real(parts[0], "--costs DAY", 0, 1e15, separator);
    costs.perFailure = Real(parts[1], "--costs FAILURE", 0, 1e15, separator);
    costs.horizon =
        parts.size() == 3 ? Real(parts[2], "--costs HORIZON", 0, playEnd, separator) : playEnd;
    question.costs = costs;
  }
  return question;
}

void WriteQuantile(JsonText& json, const QuantileAnswer& answer) {
  json.Open('{');
  json.Key("probability").Number(answer.probability);
  json.Key("time").Optional(answer.time);
  json.Key("low").Optional(answer.low);
  json.Key("high").Optional(answer.high);
  json.Key("coverage").Number(answer.coverage);
  json.Close('}');
}

void WriteTime(JsonText& json, const Answers& answers, const Question& question, char separator) {
  const TimeToTarget& time = answers.time;
  json.Key("time_to_target").Open('{');
  json.Key("plays").Integer(time.plays);
  json.Key("reached").Integer(static_cast<std::int64_t>(time.reachedTimes.size()));
  json.Key("censored").Integer(time.Censored());
  json.Key("play_end").Number(time.playEnd);
  json.Key("confidence").Number(time.confidence);
  json.Key("answer");
  WriteQuantile(json, time.answer);
  json.Key("text").Text(TimeAnswerText(answers, question, separator));
  json.Key("basis").Text(TimeBasisText(answers, separator));
  json.Key("quantiles").Open('[');
  for (const QuantileAnswer& quantile : time.quantiles) WriteQuantile(json, quantile);
  json.Close(']');
  if (answers.by) {
    json.Key("by").Open('{');
    json.Key("date").Number(*answers.by);
    json.Key("probability").Optional(answers.byShare);
    json.Key("reached").Integer(ReachedBy(answers.firstTimes, *answers.by));
    json.Key("text").Text(ByDateText(answers, separator));
    json.Close('}');
  }
  json.Key("first_times").Open('[');
  for (const auto& first : answers.firstTimes) json.Optional(first);
  json.Close(']');
  json.Close('}');
}

std::string_view StatusKey(StaffingStatus status) {
  switch (status) {
    case StaffingStatus::Found:
      return "found";
    case StaffingStatus::NotReached:
      return "not_reached";
    case StaffingStatus::BudgetSpent:
      return "budget_spent";
    case StaffingStatus::Stopped:
      return "stopped";
  }
  return "stopped";
}

void WriteStaffing(JsonText& json, const Answers& answers, const Question& question,
                   char separator) {
  const Staffing& staffing = *answers.staffing;
  json.Key("staffing").Open('{');
  json.Key("by").Number(*answers.by);
  json.Key("probability").Number(question.probability);
  json.Key("fewest").Integer(question.staffing->fewest);
  json.Key("most").Integer(question.staffing->most);
  json.Key("max_evaluations").Integer(question.staffing->maxEvaluations);
  json.Key("status").Text(StatusKey(staffing.status));
  if (staffing.answer) {
    json.Key("answer").Integer(*staffing.answer);
  } else {
    json.Key("answer").Null();
  }
  json.Key("confirmed").Bool(staffing.Confirmed(question.probability));
  json.Key("trials").Open('[');
  for (const StaffingTrial& trial : staffing.trials) {
    json.Open('{');
    json.Key("programmers").Integer(trial.programmers);
    json.Key("plays").Integer(trial.plays);
    json.Key("reached").Integer(trial.reached);
    json.Key("probability").Number(trial.Share());
    json.Key("fresh_seeds").Bool(trial.freshSeeds);
    json.Close('}');
  }
  json.Close(']');
  json.Key("text").Text(StaffingText(answers, question, separator));
  json.Close('}');
}

void WriteCost(JsonText& json, const Answers& answers, const Question& question, char separator) {
  const ReleaseCost& cost = *answers.cost;
  json.Key("release_cost").Open('{');
  json.Key("programmers").Integer(cost.programmers);
  json.Key("per_programmer_day").Number(question.costs->perProgrammerDay);
  json.Key("per_failure").Number(question.costs->perFailure);
  json.Key("horizon").Number(cost.times.back());
  json.Key("plays").Integer(cost.plays);
  json.Key("model").Text(CostModelText(answers, *question.costs, separator));
  json.Key("best").Open('{');
  json.Key("time").Number(cost.times[cost.best]);
  json.Key("mean").Number(cost.mean[cost.best]);
  json.Key("low").Number(cost.low[cost.best]);
  json.Key("high").Number(cost.high[cost.best]);
  json.Close('}');
  json.Key("text").Text(CostText(answers, separator));
  json.Key("times").Numbers(cost.times);
  json.Key("mean").Numbers(cost.mean);
  json.Key("low").Numbers(cost.low);
  json.Key("high").Numbers(cost.high);
  json.Close('}');
}

std::string AnswersJson(const Answers& answers, const Question& question, char separator) {
  JsonText json;
  json.Open('{');
  json.Key("target").Open('{');
  json.Key("quantity").Text(QuantityKey(question.target.quantity));
  json.Key("at_least").Bool(NeedsAtLeast(question.target.quantity));
  json.Key("threshold").Number(question.target.threshold);
  json.Key("holding").Text(question.target.holding == TargetHolding::FromThenOn ? "from_then_on"
                                                                                : "first_reach");
  json.Key("text").Text(TargetText(question.target, separator));
  json.Close('}');
  json.Key("probability").Number(question.probability);
  json.Key("plays").Integer(question.plays);
  json.Key("first_seed").Integer(question.firstSeed);
  json.Key("step").Number(answers.step);
  json.Key("programmers").Integer(answers.programmers);
  WriteTime(json, answers, question, separator);
  if (answers.staffing) WriteStaffing(json, answers, question, separator);
  if (answers.cost) WriteCost(json, answers, question, separator);
  json.Close('}');
  return json.Take() + '\n';
}

}  // namespace

int RunAskCommand(const SimOptions& options, const CommandIo& io) {
  const char separator = options.separator.value_or(io.localeSeparator);
  SimSettingsForm form(separator, io.err);
  TTeravo model;
  ParameterFile given;
  if (const int status = AcceptCommandLine(options, form, model, given, io.err);
      status != kExitSuccess) {
    return status;
  }
  if (const int status = SaveGivenParameters(options, given, io.err); status != kExitSuccess) {
    return status;
  }
  try {
    const Question question = QuestionOf(options, model, separator);
    QuestionControl control;
    control.threads = options.threads;
    if (io.errIsTerminal) {
      control.progress = [&err = io.err](QuestionStage stage, std::int64_t done,
                                         std::int64_t total) {
        err << '\r' << (stage == QuestionStage::Times ? "Время до цели" : "Подбор программистов")
            << ": розыгрышей " << done << " (не более " << total << ")   " << std::flush;
      };
    }
    const Answers answers = AskQuestions(model.Parameters(), question, control);
    if (io.errIsTerminal) io.err << '\n';
    io.out << AnswersJson(answers, question, separator);
    return FinishDocument(io.out, io.err, kExitSuccess);
  } catch (const Refused& refused) {
    io.err << "teravo-sim: " << refused.text << '\n';
  }
  return kExitRefused;
}

}  // namespace teravo::sim
