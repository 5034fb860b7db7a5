#include "reliability/analysis_document.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/number_text.h"
#include "tests/reliability/failure_samples.h"

namespace teravo {
namespace {

using Json = nlohmann::json;

// SYS1 is analysed once: its eight fits take a while.
class AnalysisDocument : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data_ = new FailureData(Sys1());
    analysis_ = new FailureAnalysis(AnalyseFailureData(*data_, {}));
  }
  static void TearDownTestSuite() {
    delete analysis_;
    delete data_;
  }

  static FailureData* data_;
  static FailureAnalysis* analysis_;
};

FailureData* AnalysisDocument::data_ = nullptr;
FailureAnalysis* AnalysisDocument::analysis_ = nullptr;

TEST_F(AnalysisDocument, JsonHoldsTheGoelOkumotoEstimatesOfSys1) {
  const Json json = Json::parse(AnalysisJson(*data_, *analysis_, {}));
  EXPECT_EQ(json["data"]["layout"], "FT");
  EXPECT_EQ(json["data"]["unit"], "seconds");
  EXPECT_EQ(json["data"]["failures"], 136);
  EXPECT_EQ(json["trend"]["reading"], "надежность растет");
  EXPECT_DOUBLE_EQ(json["trend"]["laplace_factor"].get<double>(), analysis_->trend.laplace_factor);

  const Json& go = json["fits"][0];
  EXPECT_EQ(go["model"], "goel_okumoto");
  EXPECT_EQ(go["status"], "сошлось");
  EXPECT_EQ(go["estimates"][0]["parameter"], "a");
  EXPECT_NEAR(go["estimates"][0]["value"].get<double>(), 142.88, 0.01);
  // b per day: the published 3.4204e-5 per second.
  EXPECT_NEAR(go["estimates"][1]["value"].get<double>(), 3.4204e-5 * 86400, 1e-3);
  EXPECT_LT(go["estimates"][0]["lower_95"].get<double>(), 142.88);
  EXPECT_GT(go["estimates"][0]["upper_95"].get<double>(), 142.88);
  // The numbers are the fit's own doubles, read back exactly.
  EXPECT_EQ(go["aic"].get<double>(), analysis_->fits[0].aic);
  EXPECT_EQ(go["log_likelihood"].get<double>(), analysis_->fits[0].log_likelihood);

  EXPECT_EQ(json["ranking"]["by_aic"].size(), 4u);
  EXPECT_EQ(json["holdout"]["models"][0]["psse"].get<double>(), *analysis_->holdouts[0].psse);
  EXPECT_EQ(json["predictions"]["models"].size(), 4u);
  EXPECT_EQ(json["predictions"]["request"]["horizon_days"], 7);
}

TEST(AnalysisDocumentOfAFailedFit, CarriesItsStatusAndNoNumbers) {
  // Evenly spaced failures: no growth, so Goel-Okumoto's a runs to its bound.
  std::vector<double> times;
  for (int i = 1; i <= 40; ++i) times.push_back(i);
  const FailureData data = FailureTimesInDays(times);
  const FailureAnalysis analysis = AnalyseFailureData(data, {});
  ASSERT_NE(analysis.fits[0].status, FitStatus::Converged);

  const Json json = Json::parse(AnalysisJson(data, analysis, {}));
  const Json& go = json["fits"][0];
  EXPECT_EQ(go["status"], std::string(FitStatusText(analysis.fits[0].status)));
  for (const char* number : {"estimates", "log_likelihood", "aic", "bic", "ks_distance"})
    EXPECT_FALSE(go.contains(number)) << number;
  for (const Json& prediction : json["predictions"]["models"])
    EXPECT_NE(prediction["model"], "goel_okumoto");

  // Its CSV row names the status and leaves the numbers empty.
  const CsvTables tables = AnalysisCsvTables(data, analysis, {}, ',');
  const std::string& models = tables[2].second;
  const std::string row =
      "Гоэла–Окумото;" + std::string(FitStatusText(analysis.fits[0].status)) + ";;;;;";
  EXPECT_NE(models.find(row), std::string::npos) << models;
}

struct SeparatorCase {
  char decimal;
  char cell;
};

class AnalysisCsv : public AnalysisDocument, public ::testing::WithParamInterface<SeparatorCase> {};

TEST_P(AnalysisCsv, UsesTheGivenSeparator) {
  const auto [decimal, cell] = GetParam();
  const CsvTables tables = AnalysisCsvTables(*data_, *analysis_, {}, decimal);
  std::vector<std::string> names;
  for (const auto& [name, text] : tables) {
    names.push_back(name);
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF") << name;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"data.csv", "trend.csv", "models.csv", "estimates.csv",
                                             "ranking.csv", "predictions.csv", "curves.csv",
                                             "reliability.csv"}));

  const std::string& estimates = tables[3].second;
  const std::string header =
      std::string("Модель") + cell + "Параметр" + cell + "Оценка" + cell + "Нижняя граница 95 %";
  EXPECT_NE(estimates.find(header), std::string::npos) << estimates;
  // The first estimate, GO's a, in full with the given decimal separator.
  const std::string a = FloatToStr(analysis_->fits[0].estimates[0].value, decimal);
  EXPECT_NE(a.find(decimal), std::string::npos);
  EXPECT_NE(estimates.find(std::string("Гоэла–Окумото") + cell + "a" + cell + a.substr(0, 6)),
            std::string::npos)
      << estimates;

  // The data table: one row per failure under its header, the time with the separator.
  const std::string& rows = tables[0].second;
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 137);
  EXPECT_NE(rows.find(std::string("\r\n1") + cell + "3" + decimal + "47"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Separators, AnalysisCsv,
                         ::testing::Values(SeparatorCase{',', ';'}, SeparatorCase{'.', ','}));

}  // namespace
}  // namespace teravo
