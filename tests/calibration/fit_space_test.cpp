#include "calibration/fit_space.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace teravo {
namespace {

using Spans = std::vector<std::pair<std::string, std::string>>;

TEST(FittedEditsOf, TakesTheTypicalSpanUnlessGivenOne) {
  const std::vector<std::string> names = {"edErrorsNum0", "edMu"};
  const auto edits = FittedEditsOf(names, Spans{{"edMu", "0,05:5"}}, ',');
  ASSERT_TRUE(std::holds_alternative<std::vector<FittedEdit>>(edits));
  const auto& list = std::get<std::vector<FittedEdit>>(edits);
  EXPECT_EQ(list[0].low, 1);
  EXPECT_EQ(list[0].high, 10000);
  EXPECT_TRUE(list[0].IsInteger());
  EXPECT_EQ(list[1].low, 0.05);
  EXPECT_EQ(list[1].high, 5);
}

struct RefusedCase {
  std::vector<std::string> names;
  Spans spans;
  std::string fault;
};

class FittedEditsRefusal : public testing::TestWithParam<RefusedCase> {};

TEST_P(FittedEditsRefusal, NamesTheFault) {
  const auto edits = FittedEditsOf(GetParam().names, GetParam().spans, '.');
  ASSERT_TRUE(std::holds_alternative<std::string>(edits));
  EXPECT_NE(std::get<std::string>(edits).find(GetParam().fault), std::string::npos)
      << std::get<std::string>(edits);
}

INSTANTIATE_TEST_SUITE_P(Cases, FittedEditsRefusal,
                         testing::Values(RefusedCase{{"edNone"}, {}, "Неизвестное"},
                                         RefusedCase{{"edY0"}, {}, "не задаёт параметр"},
                                         RefusedCase{{"edMu", "edMu"}, {}, "дважды"},
                                         RefusedCase{
                                             {"edMu"}, {{"edA", "0.1:0.2"}}, "не подбирается"},
                                         RefusedCase{{"edMu"}, {{"edMu", "5:0.05"}}, "НИЗ < ВЕРХ"},
                                         RefusedCase{{"edMu"}, {{"edMu", "0.05"}}, "НИЗ:ВЕРХ"},
                                         RefusedCase{{"edA"}, {{"edA", "0.1:1"}}, "допустимые"}));

TEST(FittedEdit, CoordinatesAreEvenInTheLogarithmOfALogScaleEdit) {
  const FittedEdit mu{FindSettingsEdit("edMu"), 0.01, 100};
  EXPECT_NEAR(mu.ValueAt(0.5), 1, 1e-12);
  EXPECT_NEAR(mu.ValueAt(-0.25), 0.001, 1e-15);
  EXPECT_NEAR(mu.CoordinateOf(mu.ValueAt(0.3)), 0.3, 1e-12);
  const FittedEdit p{FindSettingsEdit("edP_newErr"), 0, 0.5};
  EXPECT_DOUBLE_EQ(p.ValueAt(0.5), 0.25);
}

TEST(StoreValues, RoundsAnIntegerEditAndCorrectsTheStep) {
  TParameters parameters = ParametersFromTexts({});
  const FittedEdit edits[] = {{FindSettingsEdit("edErrorsNum0"), 1, 10000},
                              {FindSettingsEdit("edMu"), 0.01, 10000}};
  const double values[] = {42.5, 5000};
  EXPECT_FALSE(StoreValues(parameters, edits, values));
  EXPECT_EQ(parameters.FErrorsNum0, 42);  // a tie to the even number
  EXPECT_EQ(parameters.FMu, 5000);
  EXPECT_LE(parameters.FDT, 1.0 / 5000 * 1.01);
  EXPECT_EQ(StoredValue(parameters, *edits[0].edit), 42);
}

TEST(CoverDays, ThePlayReachesTheDaysAtItsStep) {
  TParameters parameters = ParametersFromTexts({{"edDT", "0.003"}});
  CoverDays(parameters, 1.0);
  EXPECT_GE(parameters.FM * parameters.FDT, 1.0);
  EXPECT_LE(parameters.FM * parameters.FDT, 1.0 + 2 * parameters.FDT);
}

}  // namespace
}  // namespace teravo
