#include "params/estimators.h"

#include <gtest/gtest.h>

#include "core/general_error.h"
#include "params/acceptance.h"
#include "tests/support/fake_settings_form.h"
#include "tests/support/messages.h"

namespace teravo::test {
namespace {

using Log = std::vector<std::string>;

void ExpectGeneralError(const std::function<void()>& operation, const std::string& text) {
  try {
    operation();
    ADD_FAILURE() << "no general error";
  } catch (const GeneralError& e) {
    EXPECT_EQ(e.what(), text);
  }
}

TEST(Estimators, TotalTimeKeepsTheStepInExtendedPrecision) {
  FakeSettingsForm form;
  EstimateTotalTime(form);
  EXPECT_EQ(form.Text(edit::Time), "10");
  form.Type(edit::DT, "0,1");
  form.Type(edit::M, "3");
  EstimateTotalTime(form);
  EXPECT_EQ(form.Text(edit::Time), "0,3");  // 0.1 as a double times 3 would be 0,3000...04
  form.Type(edit::M, "x");
  ExpectGeneralError([&] { EstimateTotalTime(form); }, "'x' is not a valid integer value");
}

TEST(Estimators, ErrorCountTakesTiesToEvenAndKeepsItsSign) {
  FakeSettingsForm form;
  EstimateInitialErrors(form);
  EXPECT_EQ(form.Text(edit::ErrorsNum0), "1000");
  EXPECT_EQ(form.Text(edit::Time), "10");

  form.Type(edit::Yk, "1");
  form.Type(edit::A, "0,5");
  form.Type(edit::Y0, "1,25");
  EstimateInitialErrors(form);
  EXPECT_EQ(form.Text(edit::ErrorsNum0), "2");
  form.Type(edit::Y0, "1,75");
  EstimateInitialErrors(form);
  EXPECT_EQ(form.Text(edit::ErrorsNum0), "4");

  FakeSettingsForm negative;
  negative.Type(edit::A, "-0,0001");
  EstimateInitialErrors(negative);
  EXPECT_EQ(negative.Text(edit::ErrorsNum0), "-1000");
}

TEST(Estimators, ErrorCountFailuresLeaveTheCountAlone) {
  FakeSettingsForm badFlow;
  badFlow.Type(edit::Y0, "0");
  EstimateInitialErrors(badFlow);
  EXPECT_EQ(badFlow.log, (Log{"message " + std::string(msg::Y0), "focus edY0"}));

  FakeSettingsForm badProbability;
  badProbability.Type(edit::P_newErr, "1");
  EstimateInitialErrors(badProbability);
  EXPECT_EQ(badProbability.log, (Log{"message " + std::string(msg::P_newErr), "focus edP_newErr"}));
  EXPECT_EQ(badProbability.Text(edit::ErrorsNum0), "100");

  // While new errors go by intensity the probability edit is disabled: the message alone.
  FakeSettingsForm disabled;
  rbIClick(disabled);
  disabled.log.clear();
  disabled.Type(edit::P_newErr, "abc");
  EstimateInitialErrors(disabled);
  EXPECT_EQ(disabled.log, Log{"message " + std::string(msg::P_newErr)});

  FakeSettingsForm zeroShare;
  zeroShare.Type(edit::A, "0");
  ExpectGeneralError([&] { EstimateInitialErrors(zeroShare); }, "Floating point division by zero");
  EXPECT_EQ(zeroShare.log, Log{"text edTime=10"});  // the total time was refreshed first

  FakeSettingsForm huge;
  huge.Type(edit::A, "1E-12");
  ExpectGeneralError([&] { EstimateInitialErrors(huge); }, "Range check error");
  EXPECT_EQ(huge.Text(edit::ErrorsNum0), "100");

  FakeSettingsForm badCount;
  badCount.Type(edit::M, "abc");
  ExpectGeneralError([&] { EstimateInitialErrors(badCount); },
                     "'abc' is not a valid integer value");
  EXPECT_TRUE(badCount.log.empty());

  FakeSettingsForm badIntensity;
  badIntensity.Type(edit::Yk, "1.5");
  ExpectGeneralError([&] { EstimateInitialErrors(badIntensity); },
                     "'1.5' is not a valid floating point value");
  EXPECT_EQ(badIntensity.log, Log{"text edTime=10"});
}

TEST(Estimators, FoundErrorsAndOptimalTime) {
  FakeSettingsForm form;
  EstimateErrorsFound(form);
  EXPECT_EQ(form.Text(edit::E_aver), "100");
  EXPECT_EQ(form.Text(edit::OptimT), "10");
  EstimateInitialErrors(form);
  EstimateErrorsFound(form);
  EXPECT_EQ(form.Text(edit::E_aver), "100");
  EXPECT_EQ(form.Text(edit::OptimT), "100");

  FakeSettingsForm half;
  half.Type(edit::P_newErr, "0,5");
  EstimateErrorsFound(half);
  EXPECT_EQ(half.Text(edit::E_aver), "50");
  EXPECT_EQ(half.Text(edit::OptimT), "20");

  FakeSettingsForm bad;
  bad.Type(edit::ErrorsNum0, "many");
  ExpectGeneralError([&] { EstimateErrorsFound(bad); }, "'many' is not a valid integer value");
  EXPECT_EQ(bad.Text(edit::E_aver), "");
}

TEST(Estimators, RadioPairSwitchesTheEditsAndTheFocus) {
  FakeSettingsForm form;
  rbIClick(form);
  EXPECT_FALSE(form.IsProbabilityChecked());
  EXPECT_TRUE(form.IsEnabled(edit::Y_newErr));
  EXPECT_FALSE(form.IsEnabled(edit::P_newErr));
  rbPClick(form);
  EXPECT_TRUE(form.IsProbabilityChecked());
  EXPECT_FALSE(form.IsEnabled(edit::Y_newErr));
  EXPECT_TRUE(form.IsEnabled(edit::P_newErr));
  EXPECT_EQ(form.log, (Log{"focus edY_newErr", "focus edP_newErr"}));
}

}  // namespace
}  // namespace teravo::test
