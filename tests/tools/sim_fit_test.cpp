#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/tools/run_in_process.h"
#include "tools/sim_runner.h"

namespace teravo::sim::test {
namespace {

// A fit small enough for the suite: few plays, few evaluations, no holdout.
std::vector<std::string_view> TinyFit(std::vector<std::string_view> more) {
  std::vector<std::string_view> args = {"fit",
                                        "--time-unit",
                                        "seconds",
                                        "--data",
                                        kSys1,
                                        "--plays",
                                        "3",
                                        "--max-evaluations",
                                        "12",
                                        "--holdout",
                                        "0",
                                        "--threads",
                                        "2",
                                        "--set",
                                        "edClientsNum=20"};
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST(SimFit, WritesOneDocumentWithEstimatesAndForecast) {
  const Outcome outcome = RunInProcess(TinyFit({"--fit", "edErrorsNum0,edMu"}));
  ASSERT_EQ(outcome.status, kExitSuccess) << outcome.err;
  const auto document = nlohmann::json::parse(outcome.out);
  EXPECT_EQ(document["distance"], "девиация Пуассона приращений накопленного числа");
  EXPECT_EQ(document["status"], "не сошлось");  // twelve evaluations are not enough
  ASSERT_EQ(document["estimates"].size(), 2u);
  EXPECT_EQ(document["estimates"][0]["edit"], "edErrorsNum0");
  EXPECT_TRUE(document["forecast"]["failures"]["mean"].is_array());
  EXPECT_FALSE(document.contains("holdout"));
  EXPECT_EQ(document["work"]["data_failures"], 136);
}

struct RefusedLine {
  std::vector<std::string_view> more;
  std::string_view said;
};

class SimFitRefusal : public ::testing::TestWithParam<RefusedLine> {};

TEST_P(SimFitRefusal, RefusesBeforeAnyPlay) {
  const Outcome outcome = RunInProcess(TinyFit(GetParam().more));
  EXPECT_EQ(outcome.status, kExitRefused);
  EXPECT_TRUE(Contains(outcome.err, GetParam().said)) << outcome.err;
  EXPECT_TRUE(outcome.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimFitRefusal,
    ::testing::Values(RefusedLine{{"--fit", "edNone"}, "Неизвестное поле"},
                      RefusedLine{{"--range", "edMu=5:1"}, "НИЗ < ВЕРХ"},
                      RefusedLine{{"--layout", "xx"}, "'xx' is not one of ft, if, fc"},
                      RefusedLine{{"--time-unit", "years"}, "'years' is not one of"},
                      RefusedLine{{"--holdout", "1,5"}, "--holdout needs"},
                      RefusedLine{{"--csv", "out"}, "--csv applies to"},
                      RefusedLine{{"--data", "/nonexistent/data.csv"}, "data.csv"},
                      RefusedLine{{"--save-params", "/dev/null"}, "это не обычный файл"}));

TEST(SimFit, NeedsData) {
  const Outcome outcome = RunInProcess({"fit"});
  EXPECT_EQ(outcome.status, kExitRefused);
  EXPECT_TRUE(Contains(outcome.err, "fit needs --data FILE"));
}

TEST(SimFit, SavesTheFittedSet) {
  const auto file = std::filesystem::temp_directory_path() / "sim-fit-test.teravo.json";
  const std::string path = file.string();
  const Outcome outcome = RunInProcess(TinyFit({"--fit", "edMu", "--save-params", path}));
  ASSERT_EQ(outcome.status, kExitSuccess) << outcome.err;
  const auto document = nlohmann::json::parse(outcome.out);
  const std::string mu = document["estimates"][0]["estimate"].dump();
  std::ifstream in(path);
  const std::string saved((std::istreambuf_iterator<char>(in)), {});
  EXPECT_TRUE(Contains(saved, "\"edMu\"")) << saved;
  EXPECT_TRUE(Contains(saved, mu)) << saved << " " << mu;
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace teravo::sim::test
