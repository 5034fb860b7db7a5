#include "params/settings_edits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>


namespace teravo {
namespace {

// A number's edit range agrees with what the dialog accepts: each bound is taken or refused as
// the range says, and a value just inside is taken.
TEST(SettingsEditRange, AgreesWithTheDialogsAcceptanceAtEveryBound) {
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (std::holds_alternative<std::monostate>(edit.field)) continue;
    const NumericRange& range = edit.range;
    SCOPED_TRACE(std::string(edit.name));
    EXPECT_LT(range.low, range.high);
    EXPECT_TRUE(range.Contains(range.typicalLow) || range.typicalLow == range.low);
    EXPECT_TRUE(range.Contains(range.typicalHigh));
    EXPECT_LT(range.typicalLow, range.typicalHigh);
    if (range.scale == Scale::Log) {
      EXPECT_GT(range.typicalLow, 0);
    }

    const bool integer = edit.kind == EditKind::Integer;
    TParameters parameters;
    for (const auto& [value, taken] :
         {std::pair{static_cast<long double>(range.low), !range.lowOpen},
          std::pair{static_cast<long double>(range.high), !range.highOpen},
          std::pair{integer ? range.low + 1.0L : std::nextafter(range.low, range.high) * 1.0L,
                    true}}) {
      if (std::isinf(value) || value >= std::numeric_limits<double>::max()) continue;
      EXPECT_EQ(!SetEditNumber(parameters, edit, value).has_value(), taken) << value;
    }
  }
}

TEST(SetEditNumber, StoresAsTheDialogWouldWithItsCorrectionsAndMessages) {
  struct Case {
    std::string_view edit;
    long double value;
    bool taken;
    double stored;  // the edit's field afterwards
    double step;    // FDT afterwards
  };
  const Case cases[] = {
      {edit::ProgrammersNum, 2.5L, true, 2, 0.001},  // a tie goes to the even number
      {edit::ProgrammersNum, 3.5L, true, 4, 0.001},
      {edit::ProgrammersNum, 0.4L, false, 0, 0.001},
      {edit::Mu, 0.1L, true, 0.1, 0.001},
      {edit::Mu, 5000, true, 5000, 1.0 / 5000},  // the step follows the correction intensity
      {edit::Yk, 2000, true, 2000, 1.0 / 2000},
      {edit::A, 1, false, 1, 0.001},  // a share stays below 1; the value is stored, as typed
      {edit::P_newErr, 0, true, 0, 0.001},
      {edit::Mu, std::numeric_limits<long double>::infinity(), false, 0.5, 0.001},
  };
  for (const Case& c : cases) {
    const SettingsEdit& edit = *FindSettingsEdit(c.edit);
    TParameters parameters = ParametersFromTexts({});
    const auto refused = SetEditNumber(parameters, edit, c.value);
    EXPECT_EQ(!refused.has_value(), c.taken) << c.edit << " " << c.value;
    if (refused) {
      EXPECT_EQ(*refused, edit.message);
    }
    if (const auto* real = std::get_if<double TParameters::*>(&edit.field)) {
      EXPECT_EQ(parameters.*(*real), c.stored) << c.edit;
    } else {
      EXPECT_EQ(parameters.*std::get<std::int32_t TParameters::*>(edit.field), c.stored) << c.edit;
    }
    EXPECT_EQ(parameters.FDT, c.step) << c.edit << " " << c.value;
  }
}

}  // namespace
}  // namespace teravo
