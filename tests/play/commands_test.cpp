#include <gtest/gtest.h>

#include <string>

#include "model/teravo.h"
#include "play/commands.h"
#include "tests/support/parameter_sets.h"
#include "tests/support/recording_host.h"

namespace teravo {
namespace {

using testing::PrepareDefaultPlay;
using testing::RecordingHost;

TEST(Commands, RefuseUnusableParametersBeforeOpeningAnything) {
  struct Case {
    const char* name;
    void (*spoil)(TTeravo&);
    bool seriesOnly;
    std::string_view says;
  };
  const std::string_view endless = "Вероятность внести ошибку при исправлении слишком близка к 1";
  const Case cases[] = {
      {"never accepted", [](TTeravo& m) { m = TTeravo(); }, false, kParametersNotSet},
      {"no iterations", [](TTeravo& m) { m.FM = 0; }, false, kParametersNotSet},
      {"endless new errors", [](TTeravo& m) { m.FP_newErr = 1; }, false, endless},
      {"share of one", [](TTeravo& m) { m.FA = 1; }, false, kParametersNotSet},
      {"no plays", [](TTeravo& m) { m.FK = 0; }, true, kParametersNotSet},
  };
  for (const Case& c : cases) {
    TTeravo model;
    PrepareDefaultPlay(model, 10);
    c.spoil(model);
    RecordingHost host;
    auto refused = [&c](const CommandOutcome& outcome) {
      return outcome.kind == CommandOutcome::Kind::Refused && outcome.text.starts_with(c.says);
    };
    if (!c.seriesOnly) {
      EXPECT_TRUE(refused(CheckedPlay(model, host, testing::TestContext()))) << c.name;
      EXPECT_TRUE(host.playWindows.empty()) << c.name;
    }
    EXPECT_TRUE(refused(CheckedSeries(model, host, testing::TestContext()))) << c.name;
    EXPECT_TRUE(host.playWindows.empty()) << c.name;
    EXPECT_TRUE(host.distributions.empty()) << c.name;
    EXPECT_EQ(model.FPlayCount, 0) << c.name;
  }
}

TEST(Commands, RunOnAUsableParameterSet) {
  TTeravo model;
  PrepareDefaultPlay(model, 10);
  model.FK = 2;
  RecordingHost host;
  EXPECT_TRUE(CheckedPlay(model, host, testing::TestContext()).ran());
  EXPECT_EQ(host.playWindows.size(), 1u);
  EXPECT_TRUE(CheckedSeries(model, host, testing::TestContext()).ran());
  EXPECT_EQ(host.playWindows.size(), 4u);  // one play, two plays of the series, their averages
  EXPECT_EQ(host.distributions.size(), 1u);
  EXPECT_EQ(model.FPlayCount, 3);
}

}  // namespace
}  // namespace teravo
