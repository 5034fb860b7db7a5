#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "reliability/failure_analysis.h"
#include "reliability/failure_data.h"
#include "tests/tools/run_in_process.h"

namespace teravo::sim::test {
namespace {

// The runner's estimates are the layer's own: what the desktop shows for the same file.
TEST(DataCommand, PrintsTheAnalysisTheDesktopShowsAndItsTables) {
  const auto folder = std::filesystem::temp_directory_path() / "teravo-data-command";
  std::filesystem::remove_all(folder);
  const Outcome run = RunInProcess(
      {"data", kSys1, "--time-unit", "seconds", "--csv", folder.string(), "--predict", "dt=0,5"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto document = nlohmann::json::parse(run.out);

  ImportOptions import;
  import.unit = TimeUnit::Seconds;
  const FailureData data = ReadFailureFile(kSys1, import);
  AnalysisOptions options;
  options.prediction = RequestScaledTo(data);
  options.prediction.horizon = 0.5;
  const FailureAnalysis analysis = AnalyseFailureData(data, options);
  ASSERT_EQ(document.at("fits").size(), analysis.fits.size());
  for (std::size_t m = 0; m < analysis.fits.size(); ++m) {
    const auto& estimates = document.at("fits").at(m).at("estimates");
    for (std::size_t p = 0; p < estimates.size(); ++p) {
      EXPECT_EQ(estimates.at(p).at("value").get<double>(), analysis.fits[m].estimates[p].value);
    }
  }
  EXPECT_NEAR(document.at("fits").at(0).at("estimates").at(0).at("value").get<double>(), 142.88,
              0.01);
  EXPECT_EQ(document.at("data").at("failures"), 136);
  EXPECT_TRUE(std::filesystem::exists(folder / "models.csv"));
  EXPECT_TRUE(std::filesystem::exists(folder / "predictions.csv"));
  std::filesystem::remove_all(folder);
}

TEST(DataCommand, RefusesWhatItCannotReadNamingTheFault) {
  const auto bad = std::filesystem::temp_directory_path() / "teravo-data-bad.csv";
  std::ofstream(bad) << "FT\n1\n2\nabc\n4\n5\n6\n";
  struct Case {
    std::vector<std::string> args;
    std::string_view says;
  };
  const std::vector<Case> cases = {
      {{"data", kSys1, "--layout", "xx"}, "'xx' is not one of ft, if, fc"},
      {{"data", kSys1, "--time-unit", "years"}, "'years' is not one of"},
      {{"data", kSys1, "--holdout", "1,5"}, "--holdout needs a share between 0 and 1"},
      {{"data", kSys1, "--holdout", "abc"}, "--holdout: 'abc' is not a number"},
      {{"data", kSys1, "--predict", "speed=1"}, "unknown key 'speed'"},
      {{"data", kSys1, "--predict", "reliability=1,5"}, ""},
      {{"data", "/no/such/file.csv"}, "/no/such/file.csv"},
      {{"data", bad.string()}, "abc"},
      {{"data"}, "data needs the file of the failure log"},
      {{"data", kSys1, "--seed", "7"}, "--seed applies to"},
  };
  for (const Case& c : cases) {
    const std::vector<std::string_view> args(c.args.begin(), c.args.end());
    const Outcome run = RunInProcess(args);
    EXPECT_EQ(run.status, 2) << c.args.back() << "\n" << run.err;
    EXPECT_TRUE(run.out.empty()) << c.args.back();
    EXPECT_TRUE(Contains(run.err, c.says)) << c.args.back() << "\n" << run.err;
  }
  std::filesystem::remove(bad);
}

}  // namespace
}  // namespace teravo::sim::test
