#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "results/json_writer.h"

namespace teravo {
namespace {

std::shared_ptr<PlayRecord> OpenPlay(RunWindows& run) {
  auto record = std::make_shared<PlayRecord>(',');
  run.plays.push_back(record);
  return record;
}

TEST(RunJson, WritesEveryWindowAndLeavesPointsOutOnRequest) {
  RunWindows run;
  auto play = OpenPlay(run);
  play->Title = "№1 розыгрыш  08.12.2026";
  play->Seed = 42;
  play->BeginSettings.push_back("описание");
  play->SetInt(Field::edWorkClientNum, 7);
  play->Series(Chart::chNums).AddXY(0, 0.5);
  play->Series(Chart::chNums).AddXY(0.001, 2);

  const std::string withPoints = RunJson(run, true);
  EXPECT_EQ(withPoints.rfind("{\"plays\":[\n{\"title\":", 0), 0u);
  EXPECT_NE(withPoints.find("\"title\":\"№1 розыгрыш  08.12.2026\",\"seed\":42,"
                            "\"beginSettings\":[\"Начальные условия розыгрыша:\",\"описание\"]"),
            std::string::npos);
  EXPECT_NE(withPoints.find("\"edWorkClientNum\":\"7\""), std::string::npos);
  EXPECT_NE(withPoints.find("\"edKg\":\"\""), std::string::npos);
  EXPECT_NE(withPoints.find("\"series\":{\"chNums\":[[0,0.5],[0.001,2]]"), std::string::npos);
  EXPECT_NE(withPoints.find("\"chFixedErrors\":[]}}]}\n"), std::string::npos);
  EXPECT_EQ(withPoints.find("\"averages\""), std::string::npos);

  const std::string withoutPoints = RunJson(run, false);
  EXPECT_EQ(withoutPoints.find("chNums"), std::string::npos);
  EXPECT_NE(withoutPoints.find("\"edAverWaitTime\":\"\"}}]}\n"), std::string::npos);
}

TEST(RunJson, PointsAreTheShortestTextsThatReadBackAndNullWhereJsonHasNoNumber) {
  const std::vector<std::pair<double, std::string_view>> cases = {
      {0.0, "0"},
      {-0.0, "-0"},
      {100, "100"},
      {-2.5, "-2.5"},
      {0.1, "0.1"},
      {0.009000000000000001, "0.009000000000000001"},
      {172.72727272841, "172.72727272841"},  // Grisu2 would write 172.72727272840999
      {5e-4, "5e-04"},
      {1e5, "1e+05"},
      {std::numeric_limits<double>::denorm_min(), "5e-324"},
      {std::numeric_limits<double>::infinity(), "null"},
      {std::numeric_limits<double>::quiet_NaN(), "null"},
  };
  RunWindows run;
  auto play = OpenPlay(run);
  std::string expected = "\"chNums\":[";
  int x = 0;
  for (const auto& [value, text] : cases) {
    play->Series(Chart::chNums).AddXY(x, value);  // the series keeps its points sorted by x
    if (x > 0) expected += ',';
    expected += '[' + std::to_string(x++) + ',';
    expected += text;
    expected += ']';
  }
  expected += ']';
  EXPECT_NE(RunJson(run, true).find(expected), std::string::npos) << RunJson(run, true);
}

TEST(RunJson, IsValidJsonWhateverTheTextsHold) {
  const std::string title = "«Ф» \"в кавычках\"\nвторая строка\\\t\x01 конец";
  RunWindows run;
  auto play = OpenPlay(run);
  play->Title = title;
  play->BeginSettings.push_back("a\rb\x7f");
  play->BeginSettings.push_back("not UTF-8: \xff");
  play->Series(Chart::chAvTer).AddXY(0.25, std::numeric_limits<double>::infinity());
  run.averages = std::make_shared<PlayRecord>(',');  // a series: its averages and distributions
  run.averages->Kind = RecordKind::Averages;
  auto distributions = std::make_shared<DistributionsRecord>(',');
  run.distributions = distributions;
  distributions->Caption = title;
  distributions->ErrorsInClients.AddXY(3, 0.5);

  const auto document = nlohmann::json::parse(RunJson(run, true));
  const auto& window = document.at("plays").at(0);
  EXPECT_EQ(window.at("title"), title);
  EXPECT_EQ(window.at("beginSettings").at(1), "a\rb\x7f");
  EXPECT_EQ(window.at("beginSettings").at(2), "not UTF-8: \uFFFD");
  EXPECT_EQ(window.at("series").at("chAvTer"), nlohmann::json::parse("[[0.25,null]]"));
  EXPECT_EQ(document.at("plays").size(), 1u);
  EXPECT_FALSE(document.at("averages").contains("seed"));
  EXPECT_EQ(document.at("distributions").at("caption"), title);
  EXPECT_EQ(document.at("distributions").at("chErrorsInClients"),
            nlohmann::json::parse("[[3,0.5]]"));
}

}  // namespace
}  // namespace teravo
