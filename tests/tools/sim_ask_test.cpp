#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "decisions/answer_texts.h"
#include "decisions/questions.h"
#include "params/settings_edits.h"
#include "tests/tools/run_in_process.h"
#include "tools/sim_runner.h"

namespace teravo::sim::test {
namespace {

// Short plays: 30 days on a step of 0.01.
std::vector<std::string_view> ShortAsk(std::vector<std::string_view> more) {
  std::vector<std::string_view> args = {
      "ask",   "--decimal-separator", ".",     "--seed",   "3",
      "--set", "edDT=0.01",           "--set", "edM=3000", "--plays",
      "12",    "--threads",           "2"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

// The document holds what the layer answers for the same plays, each with its sentence.
TEST(SimAsk, WritesTheAnswersOfTheSamePlays) {
  const Outcome outcome =
      RunInProcess(ShortAsk({"--target", "Kg>=0.3", "--probability", "0.5", "--by", "20",
                             "--programmers", "2:6", "--costs", "40:7:25"}));
  ASSERT_EQ(outcome.status, kExitSuccess) << outcome.err;
  const auto document = nlohmann::json::parse(outcome.out);

  Question question;
  question.target = {TargetQuantity::Availability, 0.3, TargetHolding::FromThenOn};
  question.probability = 0.5;
  question.plays = 12;
  question.firstSeed = 3;
  question.by = 20;
  question.staffing = StaffingQuestion{0, 2, 6, 12};
  question.costs = CostQuestion{40, 7, 25};
  const Answers answers =
      AskQuestions(ParametersFromTexts({{"edDT", "0.01"}, {"edM", "3000"}}), question);

  const auto& time = document["time_to_target"];
  EXPECT_EQ(time["plays"], 12);
  EXPECT_EQ(time["censored"], answers.time.Censored());
  ASSERT_EQ(time["first_times"].size(), answers.firstTimes.size());
  for (std::size_t k = 0; k < answers.firstTimes.size(); ++k) {
    if (answers.firstTimes[k]) {
      EXPECT_EQ(time["first_times"][k], *answers.firstTimes[k]) << k;
    } else {
      EXPECT_TRUE(time["first_times"][k].is_null()) << k;
    }
  }
  EXPECT_EQ(time["text"], TimeAnswerText(answers, question, '.'));
  EXPECT_EQ(document["staffing"]["text"], StaffingText(answers, question, '.'));
  EXPECT_EQ(document["staffing"]["trials"].size(), answers.staffing->trials.size());
  EXPECT_EQ(document["release_cost"]["best"]["time"], answers.cost->times[answers.cost->best]);
  EXPECT_TRUE(document["release_cost"]["text"].is_string());
}

struct RefusedAsk {
  std::vector<std::string_view> more;
  std::string_view said;
};

TEST(SimAsk, RefusesAnUnusableQuestionBeforeAnyPlay) {
  const RefusedAsk cases[] = {
      {{}, "ask needs --target"},
      {{"--target", "Kg<=0.9"}, "Kg takes >="},
      {{"--target", "Kg>=0.9", "--programmers", "1:5"}, "--programmers needs --by"},
      {{"--target", "Kg>=0.9", "--by", "31"}, "--by needs a number from 0 to 30"},
      {{"--target", "Kg>=0.9", "--by", "10", "--programmers", "5:2"}, "--programmers needs"},
      {{"--target", "Kg>=0.9", "--costs", "1"}, "--costs needs DAY:FAILURE"},
      {{"--target", "Kg>=0.9", "--probability", "0"}, "--probability needs"},
  };
  for (const RefusedAsk& c : cases) {
    const Outcome outcome = RunInProcess(ShortAsk(c.more));
    EXPECT_EQ(outcome.status, kExitRefused) << c.said;
    EXPECT_NE(outcome.err.find(c.said), std::string::npos) << outcome.err;
    EXPECT_TRUE(outcome.out.empty()) << c.said;
  }
}

}  // namespace
}  // namespace teravo::sim::test
